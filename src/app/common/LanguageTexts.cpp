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
    if (!code_.isEmpty()) {
        const std::string target = App().WritableLanguageFile(code_);
        if (target != file_->Path())
            file_ = std::make_unique<ostiva::IniFile>(target);
    }
    file_->WriteString(section.toStdString(), key.toStdString(), value.toStdString());
}
