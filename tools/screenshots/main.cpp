// Takes the README's and the manuals' screenshots from the real program: the main window with a
// project open, once per chosen graph kind ("KIND:NAME"); the main window with a comparison of
// the profile and a second one ("compare:SECOND:NAME"); the search dialog ("search:NAME"); the
// summary of the project ("summary:NAME"); the chart's readout with the mouse resting on the
// kind's own curve at X mm ("readout:KIND:X:NAME").
// "--language XX" shows the program in that language, as a user who chose it sees it. Run
// under xvfb-run with a window manager (scripts/screenshots.sh): the shots then show the
// window's frame and icon as the desktop draws them.
#include "app/chart/TProfileChart.h"
#include "app/common/AppContext.h"
#include "app/common/AppIcon.h"
#include "app/project/TProjectForm.h"
#include "app/search/TSearchForm.h"
#include "app/shell/TMainForm.h"
#include "core/IniFile.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineSeries>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTabBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTranslator>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

void Settle(int milliseconds) {
    for (int i = 0; i < milliseconds / 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

// The window as the screen shows it, with the frame the window manager drew around it.
QPixmap GrabFramed(QWidget& widget) {
    const QRect frame = widget.frameGeometry();
    return widget.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
}

// Shows graph kind `index` in the project window, as a click on its tab does.
bool ShowKind(QWidget& mainForm, int index) {
    auto* tabs = mainForm.findChild<QTabBar*>("tabGraficType");
    if (!tabs)
        return false;
    tabs->setCurrentIndex(index);
    Settle(300);
    return true;
}

// Moves the real mouse pointer onto the kind's own curve at `x` mm, so the chart shows its
// readout as it does for a user. False when the chart, the curve or the readout is missing.
bool RestMouseOnCurve(QWidget& mainForm, int index, double x) {
    auto* chart = mainForm.findChild<TProfileChart*>("chtDisplay");
    const std::optional<TGraphKind> kind = GraphKindAt(index);
    QLineSeries* curve = chart && kind ? chart->Series(GraphKindOf(*kind).scaleCurve) : nullptr;
    const std::optional<double> y = curve ? ValueAt(curve->points(), x) : std::nullopt;
    if (!y)
        return false;
    QChart* plot = chart->chart();
    const QPoint pixel = chart->mapFromScene(plot->mapToScene(plot->mapToPosition({x, *y})));
    QCursor::setPos(chart->viewport()->mapToGlobal(pixel));
    Settle(300);
    const auto* readout = chart->findChild<QLabel*>("lblChartReadout");
    return readout && readout->isVisible();
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(AppIcon());
    UseFixedNumberFormat();
    QString language = "EN";
    if (argc > 2 && std::strcmp(argv[1], "--language") == 0) {
        language = QString::fromLatin1(argv[2]).toUpper();
        argv += 2;
        argc -= 2;
    }
    const QStringList languages{"EN", "NL", "DE", "ES", "FR"};
    if (argc < 3 || !languages.contains(language)) {
        std::fprintf(stderr,
                     "usage: ostiva-screenshots [--language EN|NL|DE|ES|FR] OUTPUT_DIR PROFILE "
                     "[KIND:NAME | compare:SECOND:NAME | search:NAME | summary:NAME | "
                     "readout:KIND:X:NAME]...\n");
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
    // The language is the settings file's, as for a user who chose it.
    ostiva::IniFile(home.filePath("ostiva.ini").toStdString())
        .WriteString("Software", "Language", language.toStdString());
    // Qt's own texts (standard buttons) in that language too, where Qt's translations exist.
    QTranslator qtTexts;
    if (qtTexts.load("qtbase_" + language.toLower(),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);

    TMainForm mainForm;
    mainForm.setWindowState(Qt::WindowNoState);
    mainForm.resize(1400, 860);
    mainForm.move(0, 0);
    mainForm.show();
    mainForm.OnStart({profile});
    // Once the window manager has framed the window, its frame (not only its inside) can be
    // placed in the screen's corner.
    Settle(1000);
    mainForm.move(0, 0);
    Settle(500);

    QDir().mkpath(outputDir);
    int status = 0;
    auto save = [&status](QWidget& widget, const QString& file) {
        if (!GrabFramed(widget).save(file)) {
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
        if (kindAndName.size() == 2 && kindAndName[0] == "summary") {
            // The real command, as Tools → Summary gives it.
            if (auto* command = mainForm.findChild<QAction*>("actSummary")) {
                command->trigger();
                Settle(500);
                save(mainForm, QDir(outputDir).filePath(kindAndName[1] + ".png"));
                if (QMdiSubWindow* window = mainForm.MdiArea()->activeSubWindow())
                    window->close();
                Settle(100);
            } else {
                status = 2;
            }
            continue;
        }
        if (kindAndName.size() == 4 && kindAndName[0] == "readout") {
            bool kindGiven = false, xGiven = false;
            const int kind = kindAndName[1].toInt(&kindGiven);
            const double x = kindAndName[2].toDouble(&xGiven);
            if (kindGiven && xGiven && ShowKind(mainForm, kind) &&
                RestMouseOnCurve(mainForm, kind, x)) {
                save(mainForm, QDir(outputDir).filePath(kindAndName[3] + ".png"));
            } else {
                std::fprintf(stderr, "no readout for %s\n", argv[i]);
                status = 2;
            }
            // Off the window again, so later shots show no readout.
            QCursor::setPos(mainForm.frameGeometry().bottomRight() + QPoint(50, 50));
            Settle(100);
            continue;
        }
        if (kindAndName.size() != 2 || !ShowKind(mainForm, kindAndName[0].toInt())) {
            status = 2;
            continue;
        }
        save(mainForm, QDir(outputDir).filePath(kindAndName[1] + ".png"));
    }
    return status;
}
