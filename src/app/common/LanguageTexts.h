#pragma once
// Reading a window's texts from the language file of the current language.
#include "core/IniFile.h"

#include <QString>
#include <memory>

class LanguageTexts {
  public:
    // Opens the language file of the current language code; throws ostiva::IniError
    // "Can't open ini-file %s" when it exists but cannot be read.
    LanguageTexts();
    explicit LanguageTexts(const std::string& path);

    // The text of section/key; "Error" when missing.
    QString Text(const QString& section, const QString& key) const;
    // The text of section/key with the caller's default.
    QString Value(const QString& section, const QString& key, const QString& defaultValue) const;
    // Throws ostiva::IniError "Unable to write to %s". The current language's file is written
    // where App().WritableLanguageFile() says (the user's own file for an installed program),
    // and read afresh.
    void Write(const QString& section, const QString& key, const QString& value);

  private:
    std::unique_ptr<ostiva::IniFile> file_; // for reading
    QString code_; // the language whose file this is; empty for a file named by the caller
};
