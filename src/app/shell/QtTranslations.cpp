#include "app/shell/QtTranslations.h"

#include "core/IniFile.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>
#include <memory>

namespace {

std::unique_ptr<QTranslator>& Installed() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

bool UseQtTranslations(const QString& languageCode) {
    std::unique_ptr<QTranslator>& installed = Installed();
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    const bool known =
        std::any_of(std::begin(ostiva::kLanguageCodes), std::end(ostiva::kLanguageCodes),
                    [&](const char* code) { return languageCode == code; });
    if (!known)
        return false;
    if (languageCode == QLatin1String("EN"))
        return true; // Qt's texts are English already
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load("qtbase_" + languageCode.toLower(),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}
