// The project window measured headless: the selection of a profile, from the click to the
// painted window, on the demo project; and the list narrowed to what a large search found.
#include "app/common/AppContext.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "testdata/ProfileGenerator.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The language files beside a stand-in executable in `home`.
void UseLanguageFilesIn(const QTemporaryDir& home) {
    const QDir data(OSTIVA_DATA_DIR);
    for (const QString& name : data.entryList({"ostiva_??.ini"}, QDir::Files))
        QFile::copy(data.filePath(name), home.filePath(name));
    App().ExecutablePath = home.filePath("ostiva");
}

void BM_SelectProfileAndPaint(benchmark::State& state) {
    QTemporaryDir home;
    UseLanguageFilesIn(home);
    const QString project = home.filePath("demo") + "/";
    const auto names = ostiva::testdata::GenerateDemoProject(project.toStdString());

    QMdiArea area;
    area.resize(1400, 860);
    area.show();
    TProjectForm* form =
        TProjectForm::OpenProject(&area, project + QString::fromStdString(names.front()));
    QApplication::processEvents();
    const int count = form->FileListBox1->count();
    int row = 0;
    for (auto _ : state) {
        row = (row + 1) % count;
        form->FileListBox1->setCurrentRow(row);
        form->repaint(); // paints the list, the chart and every panel synchronously
    }
    state.SetLabel(std::to_string(count) + " demo profiles, window 1400x860");
}
BENCHMARK(BM_SelectProfileAndPaint)->Unit(benchmark::kMillisecond);

// A search over 20,000 profiles found 7,300: the list is narrowed to them and the window shows
// the first. The files are links to one generated profile, since only their names matter here.
void BM_NarrowListTo7300Of20000(benchmark::State& state) {
    constexpr int kProfiles = 20000;
    QTemporaryDir home;
    UseLanguageFilesIn(home);
    const QString project = home.filePath("big") + "/";
    QDir().mkpath(project);
    const QString original = home.filePath("original.xml");
    ostiva::testdata::WriteProfileFile(original.toStdString(), {});
    QStringList found;
    for (int i = 0; i < kProfiles; ++i) {
        const QString name = QString("zq%1.xml").arg(i, 5, 10, QChar('0'));
        if (!QFile::link(original, project + name) && !QFile::copy(original, project + name)) {
            state.SkipWithError("cannot fill the project folder");
            return;
        }
        // 73 of every 200, spread over the whole list.
        if (i * 73 % 200 < 73)
            found << name;
    }

    QMdiArea area;
    area.resize(1400, 860);
    area.show();
    TProjectForm* form = TProjectForm::OpenProject(&area, project + "zq00000.xml");
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        form->FileListBox1->SetMask("zq*.xml"); // as every search starts
        state.ResumeTiming();
        form->FileListBox1->ShowOnly(found);
    }
    state.SetLabel(std::to_string(form->FileListBox1->count()) + " of " +
                   std::to_string(kProfiles) + " profiles listed");
}
BENCHMARK(BM_NarrowListTo7300Of20000)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
