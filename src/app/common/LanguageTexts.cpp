#include "app/common/LanguageTexts.h"

#include "app/common/AppContext.h"

LanguageTexts::LanguageTexts() : LanguageTexts(App().LanguageFile()) {
    code_ = App().LanguageCode;
}

LanguageTexts::LanguageTexts(const std::string& path)
    : file_(std::make_unique<ostiva::IniFile>(path)) {}

QString LanguageTexts::Text(const QString& section, const QString& key) const {
    return Value(section, key, QString::fromStdString(ostiva::kMissingText));
}

QString LanguageTexts::Value(const QString& section, const QString& key,
                             const QString& defaultValue) const {
    return QString::fromStdString(
        file_->ReadString(section.toStdString(), key.toStdString(), defaultValue.toStdString()));
}

void LanguageTexts::Write(const QString& section, const QString& key, const QString& value) {
    if (code_.isEmpty()) {
        file_->WriteString(section.toStdString(), key.toStdString(), value.toStdString());
        return;
    }
    // An installed program writes the user's file, which the file read so far overlays.
    ostiva::IniFile(App().WritableLanguageFile(code_))
        .WriteString(section.toStdString(), key.toStdString(), value.toStdString());
    file_ = std::make_unique<ostiva::IniFile>(App().LanguageFile(code_));
}
