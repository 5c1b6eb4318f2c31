#pragma once
// Application-wide values: where the executable lies (the settings and language files lie
// beside it), the current language code and the remembered directory.
#include <QString>
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

    QString ExecutableDirectory() const;
    std::string SettingsFile() const;
    std::string LanguageFile() const; // of the current language code, built at every call
    std::string LanguageFile(const QString& code) const;
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
