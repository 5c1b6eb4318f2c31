// The program's entry: the application, the main window and the start message.
#include "app/common/AppContext.h"
#include "app/common/Dialogs.h"
#include "app/shell/TMainForm.h"

#include <QApplication>
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

} // namespace

int main(int argc, char* argv[]) {
    OstivaApplication application(argc, argv);
    App().ApplicationTitle = "Ostiva GUI ";
    App().ExecutablePath = QCoreApplication::applicationFilePath();
    UseFixedNumberFormat();

    // The main window first: its creation sets the language the later windows read, and it
    // then creates them (print selection, about box, search dialog, composite report).
    TMainForm mainForm;

    mainForm.show();
    QCoreApplication::postEvent(&mainForm, new QEvent(TMainForm::kStartEvent));
    return application.exec();
}
