// The summary window on a hand-made project of flat profiles, where QI = 12 * height / A and
// the lateral index = POSP / L (A = 2.0 and L = 0.5 at 120 km/h): its rows, the speed list,
// the filter, the mark of a track stored at two speeds, the way back to the project window,
// the export and the refresh after a delete.
#include "TestSupport.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "app/report/TReportPreview.h"
#include "app/shell/TMainForm.h"
#include "app/summary/SummaryModel.h"
#include "app/summary/SummaryPrint.h"
#include "app/summary/TSummaryForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

// 201 samples of `height` from -500 to 500 mm and two lateral samples with POSP `posp`; an
// empty height leaves the vertical samples out.
void WriteFlatProfile(const QString& path, const QString& track, const QString& speed,
                      const QString& height, const QString& posp) {
    QString pairs;
    if (!height.isEmpty())
        for (int k = 0; k <= 200; ++k)
            pairs += QString("%1 %2\r\n").arg(-500 + 5 * k).arg(height);
    const QString text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<METING>\r\n"
                         "<INFO_MANU PLAATS=\"Ut\" SPOOR=\"" +
                         track + "\" LASNR=\"L" + track + "\" SNELHEID=\"" + speed +
                         "\"/>\r\n<TOP_MEAS>\r\n" + pairs + "</TOP_MEAS>\r\n<ZIJ_MEAS POSP=\"" +
                         posp +
                         "\" NEGP=\"-0.1\">\r\n-500 0.1\r\n-495 0.1\r\n"
                         "</ZIJ_MEAS>\r\n</METING>\r\n";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

// Another program's save of one profile, under way: the locked journal of its rewrite keeps
// every reader of that profile waiting, so a summary's progress box shows and the user's
// Cancel comes while the summary is being filled. Ends at the latest after 30 s.
class HeldSave {
  public:
    explicit HeldSave(const QString& profile) {
        const QFileInfo info(profile);
        const QString journal = info.absolutePath() + "/." + info.fileName() + ".ostiva-journal";
        QFile(journal).open(QIODevice::WriteOnly); // empty: nothing to restore
        fd_ = open(journal.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
        EXPECT_EQ(flock(fd_, LOCK_EX), 0);
        watchdog_ = std::jthread([this](std::stop_token stop) {
            std::mutex mutex;
            std::unique_lock lock(mutex);
            std::condition_variable_any().wait_for(lock, stop, std::chrono::seconds(30),
                                                   [] { return false; });
            Release();
        });
    }
    ~HeldSave() { Release(); }
    HeldSave(const HeldSave&) = delete;
    HeldSave& operator=(const HeldSave&) = delete;
    void Release() {
        if (const int fd = fd_.exchange(-1); fd >= 0)
            close(fd);
    }

  private:
    std::atomic<int> fd_{-1};
    std::jthread watchdog_;
};

class SummaryFormTest : public ::testing::Test {
  public: // shared with the helpers of the tests below
    void SetUp() override {
        // Track 1 at 120 km/h; track 2 stored at 80 and at 160; track 3 at 90, outside the table.
        WriteFlatProfile(dir + "zq_a.xml", "1", "120", "0.1", "0.2"); // 0.60 0.40 within, 200
        WriteFlatProfile(dir + "zq_b.xml", "1", "120", "0.2", "0.6"); // 1.20 1.20 outside, 80
        WriteFlatProfile(dir + "zq_c.xml", "2", "80", "0.1", "0.2");  // 0.50 0.29 within
        WriteFlatProfile(dir + "zq_d.xml", "2", "160", "0.1", "0.2"); // 0.75 0.40 within
        WriteFlatProfile(dir + "zq_e.xml", "3", "90", "0.1", "0.2");  // no assessment
        main = std::make_unique<TMainForm>();
        main->show();
        dialogs.FileAnswers << dir + "zq_a.xml";
        Action("actProjectOpen")->trigger();
        project = main->ActiveProjectForm();
        ASSERT_NE(project, nullptr);
        Action("actSummary")->trigger();
        summary = main->MdiArea()->findChild<TSummaryForm*>("SummaryForm");
        ASSERT_NE(summary, nullptr);
        table = FindNamed<QTableView>(summary, "tblSummary");
    }
    QAction* Action(const QString& name) const { return FindNamed<QAction>(main.get(), name); }
    // The shown rows' cells of `column`, top to bottom.
    QStringList Column(int column) const {
        QStringList cells;
        for (int row = 0; row < table->model()->rowCount(); ++row)
            cells << table->model()->index(row, column).data().toString();
        return cells;
    }
    void Choose(const QString& combo, int entry) const {
        FindNamed<QComboBox>(summary, combo)->setCurrentIndex(entry);
    }
    QString Counts() const { return FindNamed<QLabel>(summary, "lblCounts")->text(); }
    void DoubleClick(int row) const {
        const QRect cell = table->visualRect(table->model()->index(row, SummaryModel::File));
        EXPECT_TRUE(table->viewport()->rect().contains(cell.center()));
        // A double-click is a click and then a second press on the same cell.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QByteArray Cli(const QStringList& arguments) const {
        const QString out = folder.Path() + "/cli.out";
        QProcess cli;
        cli.start(OSTIVA_CLI, QStringList{"summary", dir, "-o", out, "--language-file",
                                          folder.LanguageFile("EN")} +
                                  arguments);
        EXPECT_TRUE(cli.waitForFinished(30000));
        QFile file(out);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
    // Runs `command` while a save holds `profile` up, and clicks Cancel in the summary's progress
    // box once it shows; true when it did.
    static bool CancelWhenShown(const QString& profile, const std::function<void()>& command) {
        HeldSave save(profile);
        bool cancelled = false;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QProgressDialog*>(widget);
                if (!box || box->objectName() != "SummaryProgress" || !box->isVisible())
                    continue;
                QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
                cancelled = box->wasCanceled();
                user.stop();
                save.Release();
            }
        });
        user.start(0);
        command();
        return cancelled;
    }
    static QByteArray Bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    ExecutableFolder folder;
    ScriptedDialogs dialogs;
    QString dir = folder.MakeDirectory("night");
    std::unique_ptr<TMainForm> main;
    TProjectForm* project = nullptr;
    TSummaryForm* summary = nullptr;
    QTableView* table = nullptr;
};

TEST_F(SummaryFormTest, RowsAtOwnAndTableSpeedWithCountsFilterAndMarks) {
    EXPECT_EQ(summary->windowTitle(), QString::fromUtf8("Summary \u2014 ") + dir.chopped(1));
    EXPECT_EQ(table->model()->headerData(SummaryModel::QIZij, Qt::Horizontal).toString(),
              "QI lateral");
    EXPECT_EQ(Column(SummaryModel::File),
              (QStringList{"zq_a.xml", "zq_b.xml", "zq_c.xml", "zq_d.xml", "zq_e.xml"}));
    EXPECT_EQ(Column(SummaryModel::QI), (QStringList{"0.60", "1.20", "0.50", "0.75", ""}));
    EXPECT_EQ(Column(SummaryModel::QIZij), (QStringList{"0.40", "1.20", "0.29", "0.40", ""}));
    EXPECT_EQ(Column(SummaryModel::Verdict),
              (QStringList{"within", "outside", "within", "within", "no assessment"}));
    // b reads exactly 1.00 at 80 km/h and more at 100; a passes 200 and fails 250 (1.09).
    EXPECT_EQ(Column(SummaryModel::MaxSpeed).mid(0, 4), (QStringList{"200", "80", "200", "200"}));
    EXPECT_EQ(Counts(), "1 outside, 3 within, 1 no assessment of 5");

    // Red above 1.00 only; the verdict coloured.
    const auto colour = [this](int row, int column) {
        return table->model()->index(row, column).data(Qt::ForegroundRole).value<QBrush>().color();
    };
    EXPECT_EQ(colour(1, SummaryModel::QI), colour(1, SummaryModel::Verdict));
    EXPECT_NE(colour(0, SummaryModel::QI), colour(1, SummaryModel::QI));
    EXPECT_NE(colour(0, SummaryModel::Verdict), colour(1, SummaryModel::Verdict));
    // Within green, outside red, no assessment neither.
    EXPECT_GT(colour(0, SummaryModel::Verdict).green(), colour(0, SummaryModel::Verdict).red());
    EXPECT_GT(colour(1, SummaryModel::Verdict).red(), colour(1, SummaryModel::Verdict).green());
    EXPECT_NE(colour(4, SummaryModel::Verdict), colour(0, SummaryModel::Verdict));
    EXPECT_NE(colour(4, SummaryModel::Verdict), colour(1, SummaryModel::Verdict));

    // Track 2 holds 80 and 160: both its rows are marked, the others not, whatever speed the
    // table shows.
    for (int speedEntry : {0, 5}) {
        Choose("cbxSpeed", speedEntry);
        QStringList tips;
        for (int row = 0; row < 5; ++row)
            tips << table->model()
                        ->index(row, SummaryModel::Snelheid)
                        .data(Qt::ToolTipRole)
                        .toString();
        EXPECT_EQ(tips.filter("80, 160").size(), 2) << speedEntry;
        EXPECT_TRUE(tips[2].contains("80, 160") && tips[3].contains("80, 160"));
        EXPECT_TRUE(tips[0].isEmpty() && tips[4].isEmpty());
    }

    // 120 km/h (entry 5: own speed, 40, 60, 80, 100, 120): every profile judged there.
    EXPECT_EQ(Column(SummaryModel::Snelheid), QStringList(5, "120"));
    EXPECT_EQ(Column(SummaryModel::QI), (QStringList{"0.60", "1.20", "0.60", "0.60", "0.60"}));
    EXPECT_EQ(Counts(), "1 outside, 4 within, 0 no assessment of 5");
    Choose("cbxSpeed", 3); // 80 km/h: b reads exactly 1.00, within and not red
    EXPECT_EQ(Column(SummaryModel::QI).value(1), "1.00");
    EXPECT_EQ(Column(SummaryModel::Verdict).value(1), "within");
    EXPECT_EQ(colour(1, SummaryModel::QI), colour(0, SummaryModel::QI));
    Choose("cbxSpeed", 1); // 40 km/h: b = 2.4 / 3.2
    EXPECT_EQ(Column(SummaryModel::QI).value(1), "0.75");

    // The filter: outside, within, no assessment, all.
    Choose("cbxSpeed", 0);
    const QList<std::pair<int, QStringList>> filters = {
        {1, {"zq_b.xml"}},
        {2, {"zq_a.xml", "zq_c.xml", "zq_d.xml"}},
        {3, {"zq_e.xml"}},
        {0, {"zq_a.xml", "zq_b.xml", "zq_c.xml", "zq_d.xml", "zq_e.xml"}}};
    for (const auto& [entry, files] : filters) {
        Choose("cbxFilter", entry);
        EXPECT_EQ(Column(SummaryModel::File), files) << entry;
    }
    EXPECT_EQ(FindNamed<QComboBox>(summary, "cbxFilter")->itemText(1), "outside (1)");

    // Sorting by QI, highest first; a missing index last.
    table->sortByColumn(SummaryModel::QI, Qt::DescendingOrder);
    EXPECT_EQ(Column(SummaryModel::File),
              (QStringList{"zq_b.xml", "zq_d.xml", "zq_a.xml", "zq_c.xml", "zq_e.xml"}));
}

TEST_F(SummaryFormTest, DoubleClickShowsTheProfileAfterTheSaveQuestion) {
    table->sortByColumn(SummaryModel::File, Qt::DescendingOrder);
    DoubleClick(1); // zq_d.xml
    EXPECT_EQ(main->ActiveProjectForm(), project);
    EXPECT_EQ(project->CurrentFile, dir + "zq_d.xml");
    EXPECT_EQ(project->FileListBox1->SelectedEntry(), "zq_d.xml");
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    // Pending edits: the question first; answered No, the profile is shown unsaved.
    project->Modified = true;
    main->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(summary->parentWidget()));
    DoubleClick(4); // zq_a.xml
    ASSERT_EQ(dialogs.Texts("YesNo").size(), 1);
    EXPECT_TRUE(dialogs.Texts("YesNo")[0].contains("zq_d.xml"));
    EXPECT_EQ(project->CurrentFile, dir + "zq_a.xml");

    // A search narrowed the list to a: the profile asked for is shown all the same.
    project->FileListBox1->ShowOnly({"zq_a.xml"});
    DoubleClick(2); // zq_c.xml
    EXPECT_EQ(project->CurrentFile, dir + "zq_c.xml");
    EXPECT_EQ(project->FileListBox1->SelectedEntry(), "zq_c.xml");
}

TEST_F(SummaryFormTest, OneSummaryAProjectThatGoesWithIt) {
    const auto summaries = [this] {
        int count = 0;
        for (QMdiSubWindow* window : main->MdiArea()->subWindowList())
            count += qobject_cast<TSummaryForm*>(window->widget()) != nullptr;
        return count;
    };
    Action("actSummary")->trigger(); // from the summary itself: its project's again
    main->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(project->parentWidget()));
    Action("actSummary")->trigger();
    EXPECT_EQ(summaries(), 1);
    EXPECT_EQ(main->MdiArea()->activeSubWindow()->widget(), summary);

    qobject_cast<QMdiSubWindow*>(project->parentWidget())->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(summaries(), 0);
}

TEST_F(SummaryFormTest, ExportWritesTheCommandLinesBytes) {
    dialogs.FileAnswers << folder.Path() + "/own.csv";
    QTest::mouseClick(FindNamed<QPushButton>(summary, "btnExport"), Qt::LeftButton);
    EXPECT_EQ(Bytes(folder.Path() + "/own.csv"), Cli({}));

    // At a table speed the table is not read again, yet reads as records built at it.
    // Entries: own speed, 40, 60, 80, ... 200, 250, 300.
    for (const auto& [entry, speed] : {std::pair{4, "100"}, std::pair{10, "250"}}) {
        Choose("cbxSpeed", entry);
        dialogs.FileAnswers << folder.Path() + "/at.JSON";
        summary->Export();
        EXPECT_EQ(Bytes(folder.Path() + "/at.JSON"), Cli({"--speed", speed, "--format", "json"}))
            << speed;
    }
    EXPECT_TRUE(dialogs.Texts("Error").isEmpty());
}

TEST_F(SummaryFormTest, ExportNeitherReplacesNorBecomesAProfile) {
    const QString other = folder.MakeDirectory("elsewhere");
    ASSERT_TRUE(QFile::link(dir + "zq_c.xml", other + "link.csv"));
    const QByteArray b = Bytes(dir + "zq_b.xml"), c = Bytes(dir + "zq_c.xml");
    // The file dialog has asked about replacing an existing file already.
    dialogs.FileAnswers << dir + "zq_b.xml" << other + "link.csv" << dir + "ZQ_new.XML"
                        << other + "../night/zq_sum.xml";
    for (int i = 0; i < 4; ++i)
        summary->Export();
    EXPECT_EQ(Bytes(dir + "zq_b.xml"), b);
    EXPECT_EQ(Bytes(dir + "zq_c.xml"), c);
    EXPECT_EQ(FilesIn(dir),
              (QStringList{"zq_a.xml", "zq_b.xml", "zq_c.xml", "zq_d.xml", "zq_e.xml"}));
    EXPECT_EQ(dialogs.Texts("Error"),
              (QStringList{"Cannot write " + dir + "zq_b.xml: it is the profile zq_b.xml",
                           "Cannot write " + other + "link.csv: it is the profile zq_c.xml",
                           "Cannot write " + dir + "ZQ_new.XML: it would be a profile of " + dir,
                           "Cannot write " + other +
                               "../night/zq_sum.xml: it would be a profile of " + dir}));
    // Beside the profiles under another name it is written.
    dialogs.FileAnswers << dir + "summary.xml";
    summary->Export();
    EXPECT_TRUE(Bytes(dir + "summary.xml").startsWith("File,LasNr,"));
}

// Types "X" before the weld number shown in `form`, saves, then deletes that profile: the
// summary shows the saved number, then drops the row and counts again.
void SaveAndDelete(SummaryFormTest& t, TProjectForm* form, int row, const QString& file) {
    QTest::keyClicks(form->findChild<QLineEdit*>("Edit12"), "X"); // the weld number
    ASSERT_TRUE(form->Modified);
    const QString saved = "X" + t.Column(SummaryModel::LasNr).value(row);
    t.Action("actProfileSave")->trigger();
    EXPECT_EQ(t.Column(SummaryModel::LasNr).value(row), saved);
    t.dialogs.OkCancelAnswers << true;
    t.Action("actProfileDelete")->trigger();
    EXPECT_FALSE(QFile::exists(t.dir + file));
    QStringList left{"zq_a.xml", "zq_b.xml", "zq_c.xml", "zq_d.xml", "zq_e.xml"};
    left.removeOne(file);
    EXPECT_EQ(t.Column(SummaryModel::File), left);
    EXPECT_EQ(t.Counts(), "1 outside, 2 within, 1 no assessment of 4");
}

TEST_F(SummaryFormTest, TableFollowsSaveAndDeleteOfItsProject) {
    main->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(project->parentWidget()));
    SaveAndDelete(*this, project, 0, "zq_a.xml");
}

TEST_F(SummaryFormTest, TableFollowsSaveAndDeleteInAnotherWindowOnItsFolder) {
    dialogs.FileAnswers << dir + "zq_d.xml";
    Action("actProjectOpen")->trigger();
    TProjectForm* second = main->ActiveProjectForm();
    ASSERT_NE(second, project);
    ASSERT_EQ(second->CurrentFile, dir + "zq_d.xml");
    SaveAndDelete(*this, second, 3, "zq_d.xml");
}

TEST_F(SummaryFormTest, CancelledFillingLeavesAUsableTableWithoutVanishedProfiles) {
    const QByteArray held = Bytes(dir + "zq_c.xml");
    auto* window = qobject_cast<QMdiSubWindow*>(summary->parentWidget());
    // Delete a (the shown profile); the refresh is cancelled while it waits for c.
    main->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(project->parentWidget()));
    dialogs.OkCancelAnswers << true;
    ASSERT_TRUE(CancelWhenShown(dir + "zq_c.xml", [this] {
        Action("actProfileDelete")->trigger();
    })) << "the progress box never showed";
    EXPECT_FALSE(QFile::exists(dir + "zq_a.xml"));
    EXPECT_EQ(Bytes(dir + "zq_c.xml"), held);
    // The deleted profile is gone from the table and its counts; the others keep their rows.
    EXPECT_EQ(Column(SummaryModel::File),
              (QStringList{"zq_b.xml", "zq_c.xml", "zq_d.xml", "zq_e.xml"}));
    EXPECT_EQ(Column(SummaryModel::QI), (QStringList{"1.20", "0.50", "0.75", ""}));
    EXPECT_EQ(Counts(), "1 outside, 2 within, 1 no assessment of 4");
    // Still usable: 120 km/h for all, then closed.
    Choose("cbxSpeed", 5);
    EXPECT_EQ(Counts(), "1 outside, 3 within, 0 no assessment of 4");
    EXPECT_TRUE(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->MdiArea()->findChild<TSummaryForm*>(), nullptr);

    // A first filling cancelled opens no window, and the project window stays in charge.
    main->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(project->parentWidget()));
    EXPECT_TRUE(CancelWhenShown(dir + "zq_d.xml", [this] { Action("actSummary")->trigger(); }));
    EXPECT_EQ(main->MdiArea()->findChild<TSummaryForm*>(), nullptr);
    EXPECT_EQ(main->ActiveProjectForm(), project);
    EXPECT_TRUE(dialogs.Texts("Error").isEmpty());
}

} // namespace

namespace {

TEST(SummaryModelTest, ColumnsSortByWhatTheirTextsMean) {
    // Dates day-month-year by year, month, day; indices and speeds by value, a missing one
    // first. The rows as a table: date, QI, speed.
    const char* const table[5][3] = {{"02-03-2026", " 2.27", "80"},
                                     {"27-01-2026", "10.50", "160"},
                                     {"15-12-2025", " 0.54", "40"},
                                     {"3-2-2026", "", "100"},
                                     {"unknown", " 1.00", ""}};
    std::vector<ostiva::SummaryRow> rows(5);
    for (int i = 0; i < 5; ++i) {
        rows[i].File = "zq" + std::to_string(i) + ".xml";
        rows[i].Datum = table[i][0];
        rows[i].QI = table[i][1];
        rows[i].Snelheid = table[i][2];
        rows[i].Plaats = "Ut"; // one track stored at five speeds
    }
    rows[1].error = "XMLFile zq1.xml load error: File was not found";
    SummaryModel model;
    model.SetRows(std::move(rows));
    QSortFilterProxyModel sorted;
    sorted.setSourceModel(&model);
    sorted.setSortRole(SummaryModel::kSortRole);
    const QList<std::pair<int, QStringList>> expected = {
        {SummaryModel::Datum, {"15-12-2025", "27-01-2026", "3-2-2026", "02-03-2026", "unknown"}},
        {SummaryModel::QI, {"", "0.54", "1.00", "2.27", "10.50"}},
        {SummaryModel::Snelheid, {"", "40", "80", "100", "160"}}};
    for (const auto& [column, order] : expected) {
        sorted.sort(column);
        QStringList shown;
        for (int row = 0; row < 5; ++row)
            shown << sorted.index(row, column).data().toString();
        EXPECT_EQ(shown, order) << column;
    }
    // The mark lists the stored speeds from the lowest; a row that could not be read tells why.
    EXPECT_TRUE(model.index(0, SummaryModel::Snelheid)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .endsWith(": 40, 80, 100, 160 km/h"));
    EXPECT_EQ(model.index(1, SummaryModel::File).data(Qt::ToolTipRole).toString(),
              "XMLFile zq1.xml load error: File was not found");
    EXPECT_TRUE(model.index(0, SummaryModel::File).data(Qt::ToolTipRole).isNull());
}

TEST(SummaryPagesTest, EveryPageHasTheHeaderRowAndItsNumber) {
    QStandardItemModel table(70, 13);
    for (int column = 0; column < 13; ++column)
        table.setHorizontalHeaderItem(column, new QStandardItem(QString("H%1").arg(column)));
    for (int row = 0; row < 70; ++row)
        table.setItem(row, 0, new QStandardItem(QString("zq%1.xml").arg(row)));
    const QList<ReportPage> pages =
        SummaryPages(table, {"Summary", "/p", "09-12-2026", "Speed: 120 km/h", "Page %1 of %2"});
    // 34 rows a page: 34, 34, 2.
    ASSERT_EQ(pages.size(), 3);
    const QList<std::pair<QString, QString>> firstAndLast = {
        {"zq0.xml", "zq33.xml"}, {"zq34.xml", "zq67.xml"}, {"zq68.xml", "zq69.xml"}};
    for (int i = 0; i < 3; ++i) {
        const ReportPage& page = pages[i];
        EXPECT_FALSE(page.chartVisible);
        EXPECT_EQ(page.Label("page").text, QString("Page %1 of 3").arg(i + 1));
        EXPECT_EQ(page.Label("headc00").text, "H0");
        EXPECT_EQ(page.Label("headc12").text, "H12");
        EXPECT_EQ(page.Label("speed").text, "Speed: 120 km/h");
        QStringList files;
        for (auto it = page.labels.begin(); it != page.labels.end(); ++it)
            if (it.key().startsWith('r') && it.key().endsWith("c00"))
                files << it->text;
        EXPECT_EQ(files.first(), firstAndLast[i].first);
        EXPECT_EQ(files.last(), firstAndLast[i].second);
        // Every row lies inside the band, below the header row.
        for (auto it = page.labels.begin(); it != page.labels.end(); ++it) {
            EXPECT_LE(it->box.right(), kBandWidthMm) << it.key().toStdString();
            EXPECT_LE(it->box.bottom(), kBandHeightMm) << it.key().toStdString();
            if (it.key().startsWith('r')) {
                EXPECT_GE(it->box.top(), page.Label("headc00").box.bottom());
            }
        }
    }
}

TEST_F(SummaryFormTest, PrintPreviewShowsTheFilteredTableAtTheChosenSpeed) {
    int shown = 0;
    SetPreviewRunner([&shown](TReportPreview& preview) {
        ++shown;
        const QList<ReportPage> pages = preview.Pages();
        ASSERT_EQ(pages.size(), 1);
        EXPECT_EQ(pages[0].Label("speed").text, "Speed: 120 km/h");
        EXPECT_EQ(pages[0].Label("r00c00").text, "zq_b.xml");
        EXPECT_FALSE(pages[0].labels.contains("r01c00")) << "only the outside row";
        // QI 1.20 in the colour of the verdict "outside", a date in black.
        EXPECT_EQ(pages[0].Label("r00c09").colour, pages[0].Label("r00c11").colour);
        EXPECT_NE(pages[0].Label("r00c09").colour, pages[0].Label("r00c00").colour);
    });
    Choose("cbxSpeed", 5);
    Choose("cbxFilter", 1);
    QTest::mouseClick(FindNamed<QPushButton>(summary, "btnPrintPreview"), Qt::LeftButton);
    SetPreviewRunner({});
    EXPECT_EQ(shown, 1);
}

} // namespace
