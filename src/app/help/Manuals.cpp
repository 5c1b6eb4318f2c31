#include "app/help/Manuals.h"

#include "app/common/AppContext.h"
#include "app/common/Dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <charconv>

QString ManualPath(int number) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    return App().ProgramDataFile("manual" + QString::fromLatin1(digits, end - digits) + "_" +
                                 App().LanguageCode + ".pdf");
}

void OpenManual(QWidget* parent, int number) {
    const QString path = ManualPath(number);
    // The desktop would answer a missing file with a message of its own.
    if (!QFileInfo(path).isFile())
        return;
    OpenWithDesktop(parent, QUrl::fromLocalFile(path));
}

bool OpenWithDesktop(QWidget* parent, const QUrl& document) {
    if (Dialogs().OpenDocument(document))
        return true;
    const QString name = document.isLocalFile() ? QDir::toNativeSeparators(document.toLocalFile())
                                                : document.toString();
    ShowError(parent, "No program could be started to open " + name +
                          ". Open it with a program of your choice.");
    return false;
}
