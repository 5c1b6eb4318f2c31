#include "app/common/LanguageTexts.h"

#include "app/common/AppContext.h"

LanguageTexts::LanguageTexts() : LanguageTexts(App().LanguageFile()) {}

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
    file_->WriteString(section.toStdString(), key.toStdString(), value.toStdString());
}
