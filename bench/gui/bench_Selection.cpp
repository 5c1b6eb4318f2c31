// The selection of a profile in a project window, from the click to the painted window,
// measured headless on the demo project.
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

void BM_SelectProfileAndPaint(benchmark::State& state) {
    QTemporaryDir home;
    const QDir data(OSTIVA_DATA_DIR);
    for (const QString& name : data.entryList({"ostiva_??.ini"}, QDir::Files))
        QFile::copy(data.filePath(name), home.filePath(name));
    App().ExecutablePath = home.filePath("ostiva");
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
