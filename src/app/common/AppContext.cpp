#include "app/common/AppContext.h"

#include "core/IniFile.h"

#include <QFileInfo>
#include <QLocale>
#include <clocale>

AppContext& AppContext::Instance() {
    static AppContext context;
    return context;
}

QString AppContext::ExecutableDirectory() const {
    return QFileInfo(ExecutablePath).absolutePath();
}

std::string AppContext::SettingsFile() const {
    return ostiva::SettingsFilePath(ExecutablePath.toStdString());
}

std::string AppContext::LanguageFile() const {
    return LanguageFile(LanguageCode);
}

std::string AppContext::LanguageFile(const QString& code) const {
    return ostiva::LanguageFilePath(ExecutablePath.toStdString(), code.toStdString());
}

void UseFixedNumberFormat() {
    QLocale numbers = QLocale::c();
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(numbers);
    // QCoreApplication adopts the environment's locale for the C library; undo that for numbers.
    std::setlocale(LC_NUMERIC, "C");
}
