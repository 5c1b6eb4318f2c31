// Takes the README's screenshots from the real program: the main window with a project open,
// once per chosen graph kind ("KIND:NAME"); the main window with a comparison of the profile
// and a second one ("compare:SECOND:NAME"); the search dialog ("search:NAME"). Run under
// xvfb-run (scripts/screenshots.sh).
#include "app/common/AppContext.h"
#include "app/project/TProjectForm.h"
#include "app/search/TSearchForm.h"
#include "app/shell/TMainForm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

namespace {

void Settle(int milliseconds) {
    for (int i = 0; i < milliseconds / 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: ostiva-screenshots OUTPUT_DIR PROFILE [KIND:NAME | "
                             "compare:SECOND:NAME | search:NAME]...\n");
        return 2;
    }
    // Absolute now: opening a project makes its directory the current one.
    const QString outputDir = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString profile = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    const QDir startDir = QDir::current();

    // A private copy of the language files, so the user's own settings are neither read nor
    // written.
    QTemporaryDir home;
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const QString& name : programDir.entryList({"ostiva_??.ini"}, QDir::Files))
        QFile::copy(programDir.filePath(name), home.filePath(name));
    App().ExecutablePath = home.filePath("ostiva");

    TMainForm mainForm;
    mainForm.setWindowState(Qt::WindowNoState);
    mainForm.resize(1400, 860);
    mainForm.move(0, 0);
    mainForm.show();
    mainForm.OnStart({profile});
    Settle(300);

    QDir().mkpath(outputDir);
    int status = 0;
    auto save = [&status](QWidget& widget, const QString& file) {
        if (!widget.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            status = 1;
        }
    };
    for (int i = 3; i < argc; ++i) {
        const QStringList kindAndName = QString::fromLocal8Bit(argv[i]).split(':');
        if (kindAndName.size() == 3 && kindAndName[0] == "compare") {
            const QString second = startDir.absoluteFilePath(kindAndName[1]);
            TProjectForm* comparison =
                TProjectForm::OpenComparison(mainForm.MdiArea(), profile, second);
            Settle(300);
            save(mainForm, QDir(outputDir).filePath(kindAndName[2] + ".png"));
            if (QMdiSubWindow* window = mainForm.MdiArea()->activeSubWindow();
                window && window->widget() == comparison)
                window->close();
            Settle(100);
            continue;
        }
        if (kindAndName.size() == 2 && kindAndName[0] == "search") {
            TSearchForm search(&mainForm);
            search.show();
            Settle(300);
            save(search, QDir(outputDir).filePath(kindAndName[1] + ".png"));
            search.hide();
            continue;
        }
        auto* tabs = mainForm.findChild<QTabBar*>("tabGraficType");
        if (kindAndName.size() != 2 || !tabs) {
            status = 2;
            continue;
        }
        tabs->setCurrentIndex(kindAndName[0].toInt());
        Settle(300);
        save(mainForm, QDir(outputDir).filePath(kindAndName[1] + ".png"));
    }
    return status;
}
