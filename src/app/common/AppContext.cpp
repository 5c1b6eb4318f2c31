#include "app/common/AppContext.h"

#include "core/IniFile.h"
#include "core/ProgramFiles.h"

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

QString AppContext::ProgramDataFile(const QString& name) const {
    return QString::fromStdString(
        ostiva::ProgramDataFile((ExecutableDirectory() + "/" + name).toStdString()));
}

bool AppContext::ProgramFolderWritable() const {
    const std::string folder = ExecutableDirectory().toStdString();
    return FolderWritable ? FolderWritable(folder) : ostiva::FolderWritable(folder);
}

bool AppContext::KeepsFilesBeside() const {
    return ostiva::KeepsFilesBeside(ostiva::SettingsFilePath(ExecutablePath.toStdString()),
                                    ProgramFolderWritable());
}

std::string AppContext::SettingsFile() const {
    return ostiva::ReadableProgramFile(ostiva::SettingsFilePath(ExecutablePath.toStdString()),
                                       ProgramFolderWritable(), ostiva::UserConfigFolder());
}

std::string AppContext::LanguageFile() const {
    return LanguageFile(LanguageCode);
}

std::string AppContext::LanguageFile(const QString& code) const {
    return ostiva::ReadableProgramFile(
        ostiva::LanguageFilePath(ExecutablePath.toStdString(), code.toStdString()),
        ProgramFolderWritable(), ostiva::UserConfigFolder());
}

std::string AppContext::WritableSettingsFile() const {
    return ostiva::WritableProgramFile(ostiva::SettingsFilePath(ExecutablePath.toStdString()),
                                       ProgramFolderWritable(), ostiva::UserConfigFolder());
}

std::string AppContext::WritableLanguageFile(const QString& code) const {
    return ostiva::WritableProgramFile(
        ostiva::LanguageFilePath(ExecutablePath.toStdString(), code.toStdString()),
        ProgramFolderWritable(), ostiva::UserConfigFolder());
}

void UseFixedNumberFormat() {
    QLocale numbers = QLocale::c();
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(numbers);
    // QCoreApplication adopts the environment's locale for the C library; undo that for numbers.
    std::setlocale(LC_NUMERIC, "C");
}
