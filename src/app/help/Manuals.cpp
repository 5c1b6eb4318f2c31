#include "app/help/Manuals.h"

#include "app/common/AppContext.h"
#include "app/common/Dialogs.h"

#include <QFileInfo>
#include <QUrl>
#include <charconv>

QString ManualPath(int number) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    return App().ProgramDataFile("manual" + QString::fromLatin1(digits, end - digits) + "_" +
                                 App().LanguageCode + ".pdf");
}

void OpenManual(QWidget*, int number) {
    const QString path = ManualPath(number);
    // The desktop would answer a missing file with a message of its own.
    if (!QFileInfo(path).isFile())
        return;
    Dialogs().OpenDocument(QUrl::fromLocalFile(path));
}
