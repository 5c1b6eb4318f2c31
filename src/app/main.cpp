// The program's entry: the application, the main window and the start message.
#include "app/common/AppContext.h"
#include "app/common/AppIcon.h"
#include "app/common/Dialogs.h"
#include "app/common/Version.h"
#include "app/shell/QtTranslations.h"
#include "app/shell/TMainForm.h"
#include "core/IniFile.h"

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <exception>

namespace {

// An exception that escapes an event handler ends in the application's error box instead of
// ending the program.
class OstivaApplication : public QApplication {
  public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            ShowError(nullptr, QString::fromUtf8(e.what()));
        }
        return false;
    }
};

// The language the main window will read from the settings file; "EN" when it cannot be read
// (the main window reports that itself).
QString StartLanguage() {
    try {
        return Q(ostiva::IniFile(App().SettingsFile()).ReadString("Software", "Language", "EN"));
    } catch (const std::exception&) {
        return QStringLiteral("EN");
    }
}

} // namespace

int main(int argc, char* argv[]) {
    // Answered before any window exists, so they work without a display.
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::fputs("ostiva " OSTIVA_FILE_VERSION "\n", stdout);
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs("usage: ostiva [PROFILE]   the desktop program; a profile file zq*.xml opens "
                   "its project\n"
                   "       ostiva --help | --version\n",
                   stdout);
        return 0;
    }
    OstivaApplication application(argc, argv);
    QApplication::setWindowIcon(AppIcon());
    // Ties the windows to ostiva.desktop and its icon where the desktop asks for it.
    QGuiApplication::setDesktopFileName("ostiva");
    App().ApplicationTitle = "Ostiva GUI ";
    App().ExecutablePath = QCoreApplication::applicationFilePath();
    UseFixedNumberFormat();

    // Qt's own texts (standard buttons, file dialogs, print preview, key names) in the start
    // language, installed before any window makes them.
    const QString language = StartLanguage();
    if (!UseQtTranslations(language))
        std::fprintf(stderr, "ostiva: no Qt translation for language %s; Qt's texts stay English\n",
                     qPrintable(language));

    // The main window first: its creation sets the language the later windows read, and it
    // then creates them (print selection, about box, search dialog, composite report).
    TMainForm mainForm;

    mainForm.show();
    QCoreApplication::postEvent(&mainForm, new QEvent(TMainForm::kStartEvent));
    return application.exec();
}
