#pragma once
// Application-wide values: where the executable lies (the settings and language files lie
// beside it for a build folder or a portable copy; an installed program keeps the user's in the
// user's folder), the current language code and the remembered directory.
#include <QString>
#include <functional>
#include <string>

class AppContext {
  public:
    static AppContext& Instance();

    // The program's full path; tests point it into a temporary folder.
    QString ExecutablePath;
    // One of "EN", "NL", "DE", "ES", "FR" normally; any text read from the settings file.
    QString LanguageCode = "EN";
    QString RememberedDirectory;
    // "Ostiva GUI " (with the trailing blank).
    QString ApplicationTitle = "Ostiva GUI ";

    // Whether the executable's folder may be written; tests pretend an installed program.
    std::function<bool(const std::string& folder)> FolderWritable;

    QString ExecutableDirectory() const;
    // A build folder or a portable copy: settings and language files are kept beside the
    // executable (see core/ProgramFiles.h). Otherwise the program is installed.
    bool KeepsFilesBeside() const;
    // A read-only file of the program (a manual): beside the executable, else in ../share/ostiva.
    QString ProgramDataFile(const QString& name) const;
    // The files to read, built at every call (see core/ProgramFiles.h); for an installed
    // program the user's own file is read first as an overlay.
    std::string SettingsFile() const;
    std::string LanguageFile() const; // of the current language code
    std::string LanguageFile(const QString& code) const;
    // The files to write: the user's own file for an installed program (its folder made first).
    // Throw ostiva::IniError "Unable to write to %s".
    std::string WritableSettingsFile() const;
    std::string WritableLanguageFile(const QString& code) const;

  private:
    bool ProgramFolderWritable() const;
};

inline AppContext& App() {
    return AppContext::Instance();
}

// "." as decimal and "," as group separator for everything Qt and the C library format or
// parse from now on, whatever the user's regional settings.
void UseFixedNumberFormat();

// Conversions between the core's UTF-8 texts and Qt.
inline QString Q(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
inline std::string S(const QString& s) {
    return s.toUtf8().toStdString();
}
