#include "app/common/LanguageTexts.h"

#include "app/common/AppContext.h"

LanguageTexts::LanguageTexts() : LanguageTexts(App().LanguageFile()) {}

LanguageTexts::LanguageTexts(const std::string& path)
    : file_(std::make_unique<ostiva::IniFile>(path)) {}

QString LanguageTexts::Text(const QString& section, const QString& key) const {
    return Value(section, key, Q(ostiva::kMissingText));
}

QString LanguageTexts::Value(const QString& section, const QString& key,
                             const QString& defaultValue) const {
    return Q(file_->ReadString(S(section), S(key), S(defaultValue)));
}

void LanguageTexts::Write(const QString& section, const QString& key, const QString& value) {
    file_->WriteString(S(section), S(key), S(value));
}
