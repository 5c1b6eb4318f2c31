// The comparison window driven headless: two profiles side by side in the fields, the quality
// labels and every graph kind, nothing to edit or save, and only the print preview offered.
#include "TestSupport.h"
#include "app/chart/TProfileChart.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "app/shell/TMainForm.h"
#include "core/ProjectData.h"
#include "testdata/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

using ostiva::testdata::ReadFileBytes;

namespace {

// A profile whose vertical profile steps from 0 to `stepUm` micrometres at -10 mm, so that its
// largest value and its quality index are known. Every header text starts with `tag`.
QString WriteWeld(const QString& path, const std::string& tag, int stepUm, const char* speed,
                  const char* topPosP, const char* zijPosP) {
    const std::string step =
        std::to_string(stepUm / 1000) + "." + std::to_string(1000 + stepUm % 1000).substr(1);
    std::string top;
    for (int j = 1; j <= 201; ++j)
        top += std::to_string(-500 + 5 * (j - 1)) + " " + (j >= 99 ? step : "0") + "\n";
    const auto attribute = [&tag](const char* name, const char* value) {
        return std::string(" ") + name + "=\"" + tag + value + "\"";
    };
    const std::string xml =
        "<?xml version=\"1.0\"?>\n<PROFILE><INFO_AUTO" + attribute("DEVICE", "dev") +
        attribute("DATUM", "date") + attribute("TIJD", "time") + attribute("EIGENAAR", "owner") +
        "/><INFO_MANU" + attribute("PLAATS", "place") + attribute("SPOOR", "track") +
        attribute("KM", "km") + attribute("RAIL", "rail") + attribute("LASTYPE", "type") +
        attribute("LASSER", "welder") + attribute("LASNR", "nr") + attribute("WERKNUMMER", "job") +
        attribute("WISSEL", "switch") + " SNELHEID=\"" + speed + "\"/><TOP_MEAS POSP=\"" + topPosP +
        "\" NEGP=\"0\" POSH=\"0\" NEGH=\"0\">" + top + "</TOP_MEAS><ZIJ_MEAS POSP=\"" + zijPosP +
        "\" NEGP=\"0\" POSH=\"0\" NEGH=\"0\">-500 0</ZIJ_MEAS>"
        "<TOP_QUALITY QI=\"\" NORM=\"\"/></PROFILE>\n";
    ostiva::testdata::WriteFileBytes(path.toStdString(), xml);
    return path;
}

class ComparisonWindowTest : public ::testing::Test {
  protected:
    ExecutableFolder folder;
    ScriptedDialogs dialogs;
    QMdiArea area;
    QString dir = folder.MakeDirectory("c");

    template <typename T> T* Find(TProjectForm* form, const QString& name) {
        return FindNamed<T>(form, name);
    }
    QString Text(TProjectForm* form, const QString& name) {
        return Find<QLineEdit>(form, name)->text();
    }
    TProfileChart* Chart(TProjectForm* form) { return Find<TProfileChart>(form, "chtDisplay"); }
    void ShowKind(TProjectForm* form, int kind) {
        Find<QTabBar>(form, "tabGraficType")->setCurrentIndex(kind);
    }
};

TEST_F(ComparisonWindowTest, ProfileComparedWithItselfShowsTwoIdenticalCurvesInEveryKind) {
    const QString path = folder.WriteProfile(dir + "zq0001.xml");
    TProjectForm* form = TProjectForm::OpenComparison(&area, path, path);
    TProfileChart* chart = Chart(form);
    using Pair = std::pair<QString, QString>;
    const QList<QList<Pair>> kinds = {
        {{"serProfile", "serProfileAdd"}},
        {{"serSamplProfile", "serSamplProfileAdd"}, {"serNewNormProfile", "serNewNormProfileAdd"}},
        {{"serShortwaves", "serShortwavesAdd"}},
        {{"serTrend", "serTrendAdd"}},
        {{"serZijMeas", "serZijMeasAdd"}},
        {{"serZijMeas", "serZijMeasAdd"},
         {"serNormZijCalcPos", "serNormZijCalcPosAdd"},
         {"serNormZijCalcNeg", "serNormZijCalcNegAdd"}},
        {{"serShortwaves1", "serShortwavesAdd1"}},
        {{"serShortwaves2", "serShortwavesAdd2"}},
        {{"serShortwaves3", "serShortwavesAdd3"}},
    };
    const QStringList names = chart->SeriesNames();
    for (int kind : {0, 1, 2, 3, 4, 5, 6, 7, 8, 0}) {
        ShowKind(form, kind);
        int secondCount = 0;
        for (const QString& name : names)
            secondCount += chart->IsActive(name) && name.contains("Add");
        EXPECT_EQ(secondCount, kinds[kind].size()) << "kind " << kind;
        for (const auto& [first, second] : kinds[kind]) {
            EXPECT_TRUE(chart->IsActive(first) && chart->IsActive(second)) << second.toStdString();
            EXPECT_EQ(chart->Series(second)->points(), chart->Series(first)->points())
                << second.toStdString();
        }
    }
    EXPECT_EQ(chart->Series("serShortwavesAdd3")->count(), 201);
    EXPECT_EQ(chart->Series("serNewNormProfileAdd")->count(), 41);
    EXPECT_EQ(chart->Series("serProfileAdd")->pen().color(), QColor(255, 0, 255));
    EXPECT_EQ(chart->Series("serProfileAdd")->pen().width(), 3);
    EXPECT_EQ(chart->Series("serNewNormProfileAdd")->pen().color(), QColor(255, 128, 0));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(ComparisonWindowTest, FieldsOfBothProfilesStandSideBySide) {
    const QString first = WriteWeld(dir + "zqA.xml", "A-", 80, "40", "0.1", "1.00");
    const QString second = WriteWeld(dir + "zqB.xml", "B-", 81, "160", "0.25", "0.60");
    TProjectForm* form = TProjectForm::OpenComparison(&area, first, second);

    EXPECT_EQ(form->windowTitle(), first + " ~ " + second);
    EXPECT_EQ(Find<QLabel>(form, "lblDir_1")->text(), first);
    EXPECT_EQ(Find<QLabel>(form, "lblDir_2")->text(), second);
    EXPECT_FALSE(Find<QLabel>(form, "lblDir_1")->isVisibleTo(form));
    EXPECT_EQ(Text(form, "Edit2"), "zqA.xml");
    EXPECT_EQ(Text(form, "Edit22"), "zqB.xml");
    const QList<std::tuple<const char*, const char*, QString>> pairs = {
        {"Edit12", "Edit40", "nr"},   {"Edit1", "Edit21", "dev"},    {"Edit3", "Edit23", "date"},
        {"Edit4", "Edit24", "time"},  {"Edit5", "Edit25", "job"},    {"Edit7", "Edit26", "welder"},
        {"Edit8", "Edit27", "place"}, {"Edit10", "Edit28", "km"},    {"Edit11", "Edit29", "rail"},
        {"Edit13", "Edit30", "type"}, {"Edit6", "Edit31", "switch"},
    };
    for (const auto& [field, secondField, text] : pairs) {
        EXPECT_EQ(Text(form, field), "A-" + text) << field;
        EXPECT_EQ(Text(form, secondField), "B-" + text) << secondField;
        EXPECT_TRUE(Find<QLineEdit>(form, secondField)->isVisibleTo(form)) << secondField;
    }
    EXPECT_EQ(Find<QPlainTextEdit>(form, "Memo1")->toPlainText(), "A-track");
    EXPECT_EQ(Find<QPlainTextEdit>(form, "Memo2")->toPlainText(), "B-track");
    EXPECT_EQ(Find<QLabel>(form, "Label22")->text(), "B-owner");
    EXPECT_EQ(Text(form, "Edit14"), " 0.10");
    EXPECT_EQ(Text(form, "Edit33"), " 0.25");
    EXPECT_EQ(Text(form, "Edit48"), " 1.00");
    EXPECT_EQ(Text(form, "Edit41"), " 0.60");
    for (const char* mark : {"Label48", "Label49", "Label50", "Label51", "Label52", "Label53"})
        EXPECT_TRUE(Find<QLabel>(form, mark)->isVisibleTo(form)) << mark;
    EXPECT_TRUE(Find<QLineEdit>(form, "Edit33")->isVisibleTo(form));

    // No list and no choice of speed: the list shows the first profile's speed.
    EXPECT_EQ(form->FileListBox1->count(), 0);
    EXPECT_FALSE(form->FileListBox1->isVisibleTo(form) || form->FileListBox1->isEnabled());
    EXPECT_FALSE(Find<QLabel>(form, "Label1")->isVisibleTo(form));
    auto* speeds = Find<QComboBox>(form, "cbxVelInp");
    EXPECT_FALSE(speeds->isEnabled());
    EXPECT_EQ(speeds->currentText(), "40");
    EXPECT_EQ(Find<QLabel>(form, "lblVel")->text(), "40");
    EXPECT_EQ(Find<QLabel>(form, "lblVelAdd")->text(), "160");
    EXPECT_EQ(Find<QLabel>(form, "lblVelZijAdd")->text(), "160");

    // 80 um over 25 mm at 3.2 mrad (40 km/h) is 1.00, 81 um at 1.6 mrad (160 km/h) is 2.03;
    // the lateral versine against 1.0 mm at 40 km/h is 1.00, against 0.5 mm at 160 km/h 1.20.
    const QColor normal = form->palette().color(QPalette::WindowText);
    ShowKind(form, 4);
    EXPECT_EQ(Find<QLabel>(form, "lblQIZij")->text(), " 1.00");
    EXPECT_EQ(Find<QLabel>(form, "lblQIZijAdd")->text(), " 1.20");
    EXPECT_EQ(Find<QLabel>(form, "lblQIZij")->palette().color(QPalette::WindowText), normal);
    EXPECT_EQ(Find<QLabel>(form, "lblQIZijAdd")->palette().color(QPalette::WindowText),
              QColor(Qt::red));
    EXPECT_TRUE(Find<QLabel>(form, "lblQIZijAdd")->isVisibleTo(form));
    EXPECT_EQ(Find<QLabel>(form, "lblQuality")->palette().color(QPalette::WindowText), normal);
    EXPECT_EQ(Find<QLabel>(form, "lblQualityAdd")->palette().color(QPalette::WindowText),
              QColor(Qt::red));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(ComparisonWindowTest, VerticalAxisFitsBothProfiles) {
    const QString small = WriteWeld(dir + "zqS.xml", "", 800, "80", "0", "0");
    const QString large = WriteWeld(dir + "zqL.xml", "", 1500, "80", "0", "0");
    TProfileChart* alone = Chart(TProjectForm::OpenComparison(&area, small, small));
    EXPECT_DOUBLE_EQ(alone->VerticalRange(), 1);

    for (const auto& [first, second] : {std::pair(small, large), std::pair(large, small)}) {
        TProjectForm* form = TProjectForm::OpenComparison(&area, first, second);
        EXPECT_DOUBLE_EQ(Chart(form)->VerticalRange(), 2);
        EXPECT_EQ(Chart(form)->MinorCount(), 4);
        ShowKind(form, 2);
        ShowKind(form, 0);
        EXPECT_DOUBLE_EQ(Chart(form)->VerticalRange(), 2);
    }
}

TEST_F(ComparisonWindowTest, LegendMarksTheProfilesAlsoWhereTheLanguageFileLacksAKey) {
    const std::string language = folder.LanguageFile("EN").toStdString();
    std::string text = ReadFileBytes(language);
    const auto at = text.find("serTrend=");
    ASSERT_NE(at, std::string::npos);
    text.erase(at, text.find('\n', at) - at + 1);
    ostiva::testdata::WriteFileBytes(language, text);

    const QString path = folder.WriteProfile(dir + "zq0001.xml");
    TProjectForm* form = TProjectForm::OpenComparison(&area, path, path);
    TProfileChart* chart = Chart(form);
    EXPECT_EQ(chart->LegendTitles(),
              QStringList({"Top profile - I", "Top profile - II", "Norm Top +", "Norm Top -"}));
    ShowKind(form, 3);
    EXPECT_EQ(chart->LegendTitles(),
              QStringList({"Error - I", "Error - II", "Norm Trend +", "Norm Trend -"}));
    ShowKind(form, 7);
    EXPECT_EQ(chart->LegendTitles(),
              QStringList({"Short waves band 2", "Norm short waves +", "Norm short waves -",
                           "Short waves band 2 - II"}));
}

TEST_F(ComparisonWindowTest, NothingCanBeEditedSavedOrAskedAndOnlyPrintPreviewIsOffered) {
    const QString first = folder.WriteProfile(dir + "zq0001.xml");
    ostiva::testdata::GeneratorOptions options;
    options.seed = 2;
    const QString second = folder.WriteProfile(dir + "zq0002.xml", options);
    const std::string firstBytes = ReadFileBytes(first.toStdString());
    const std::string secondBytes = ReadFileBytes(second.toStdString());
    TMainForm main;
    main.show();
    // Opened over a (maximized) project window, the comparison comes on top.
    TProjectForm::OpenProject(main.MdiArea(), first);
    TProjectForm* form = TProjectForm::OpenComparison(main.MdiArea(), first, second);
    QApplication::processEvents();
    EXPECT_EQ(main.ActiveProjectForm(), form);

    EXPECT_TRUE(form->CanPrintPreview);
    for (bool flag : {form->Editable, form->Modified, form->CanLoadData, form->CanLoadFromDevice,
                      form->CanPrintProfiles, form->CanDelete, form->CanSearch, form->CanCopyTo})
        EXPECT_FALSE(flag);
    main.ActionList1Update();
    for (const char* name :
         {"actLoadData", "actLoadDataDevice", "actProfileSave", "actPrintPreview",
          "actPrintProfiles", "actProfileDelete", "actProfileCopyTo", "actProfileSearch"})
        EXPECT_EQ(main.findChild<QAction*>(name)->isEnabled(), QString(name) == "actPrintPreview")
            << name;

    for (const char* name : {"Edit12", "Edit40", "Edit22"}) {
        const QString before = Text(form, name);
        QTest::keyClicks(Find<QLineEdit>(form, name), "typed");
        EXPECT_EQ(Text(form, name), before) << name;
    }
    QTest::keyClicks(Find<QPlainTextEdit>(form, "Memo2"), "typed");
    EXPECT_FALSE(Find<QPlainTextEdit>(form, "Memo2")->toPlainText().contains("typed"));
    EXPECT_FALSE(form->Modified);

    // The window holds the first file's record under the second file's name: nothing is
    // written, whoever asks.
    EXPECT_TRUE(form->ProfileSave(false));
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(ReadFileBytes(first.toStdString()), firstBytes);
    EXPECT_EQ(ReadFileBytes(second.toStdString()), secondBytes);
}

TEST_F(ComparisonWindowTest, EachSecondFieldStandsBesideItsFirstUnderItsMark) {
    const QString path = folder.WriteProfile(dir + "zq0001.xml");
    area.resize(1400, 860);
    area.show();
    TProjectForm* form = TProjectForm::OpenComparison(&area, path, path);
    QCoreApplication::processEvents();
    const auto rectOf = [form](QWidget* widget) {
        return QRect(widget->mapTo(form, QPoint(0, 0)), widget->size());
    };
    const QList<std::tuple<const char*, const char*, const char*>> pairs = {
        {"Edit12", "Edit40", "Label49"}, {"Edit7", "Edit26", "Label49"},
        {"Edit8", "Edit27", "Label51"},  {"Memo1", "Memo2", "Label51"},
        {"Edit14", "Edit33", "Label53"}, {"Edit17", "Edit36", "Label53"}};
    for (const auto& [firstName, secondName, markName] : pairs) {
        const QRect first = rectOf(Find<QWidget>(form, firstName));
        const QRect second = rectOf(Find<QWidget>(form, secondName));
        const QRect mark = rectOf(Find<QWidget>(form, markName));
        EXPECT_TRUE(WhollyInSight(Find<QWidget>(form, firstName))) << firstName;
        EXPECT_TRUE(WhollyInSight(Find<QWidget>(form, secondName))) << secondName;
        EXPECT_EQ(second.top(), first.top()) << secondName;
        EXPECT_GT(second.left(), first.right()) << secondName;
        EXPECT_LT(mark.bottom(), second.top()) << markName;
        EXPECT_TRUE(mark.left() < second.right() && mark.right() > second.left()) << markName;
    }
    // The legend lies in the lower half of the plot.
    TProfileChart* chart = Chart(form);
    EXPECT_GT(chart->chart()->legend()->geometry().center().y(),
              chart->chart()->plotArea().center().y());
}

TEST_F(ComparisonWindowTest, UnreadableSecondFileShowsItsErrorAndTheWindowStillOpens) {
    const QString first = WriteWeld(dir + "zqA.xml", "A-", 80, "40", "0.1", "1.00");
    const QString broken = dir + "zqB.xml";
    ostiva::testdata::WriteFileBytes(broken.toStdString(), "<PROFILE><TOP_MEAS>-500 0.1");
    TProjectForm* form = TProjectForm::OpenComparison(&area, first, broken);
    ASSERT_EQ(dialogs.Texts("Error").size(), 1);
    EXPECT_TRUE(dialogs.Texts("Error")[0].startsWith("XMLFile " + broken + " load error: "));
    ASSERT_NE(form->SecondProfile(), nullptr);
    EXPECT_EQ(Text(form, "Edit12"), "A-nr");
    EXPECT_EQ(Text(form, "Edit40"), "");
    EXPECT_EQ(Text(form, "Edit22"), "zqB.xml");
    EXPECT_EQ(form->windowTitle(), first + " ~ " + broken);
    EXPECT_TRUE(Chart(form)->IsActive("serProfileAdd"));
}

// Per kind, the legend (in curve order) and the pens of the second profile's curves: width 3,
// fuchsia, orange for the new-norm profile, red for the lateral limits at speed.
TEST_F(ComparisonWindowTest, EveryKindMarksBothProfilesInTheLegendAndDrawsTheSecondBoldly) {
    const QString path = folder.WriteProfile(dir + "zq0001.xml");
    TProjectForm* form = TProjectForm::OpenComparison(&area, path, path);
    TProfileChart* chart = Chart(form);
    const QColor fuchsia(255, 0, 255), orange(255, 128, 0), red(255, 0, 0);
    using Pen = std::pair<const char*, QColor>;
    const QList<std::pair<QStringList, QList<Pen>>> kinds = {
        {{"Top profile - I", "Top profile - II", "Norm Top +", "Norm Top -"},
         {{"serProfileAdd", fuchsia}}},
        {{"Norm line", "Sampled profile - I", "Sampled profile - II", "Inclination / A - I",
          "Inclination / A - II"},
         {{"serSamplProfileAdd", fuchsia}, {"serNewNormProfileAdd", orange}}},
        {{"Short waves - I", "Short waves - II", "Norm short waves +", "Norm short waves -"},
         {{"serShortwavesAdd", fuchsia}}},
        {{"Trend - I", "Trend - II", "Norm Trend +", "Norm Trend -"}, {{"serTrendAdd", fuchsia}}},
        {{"Zij profile - I", "Zij profile - II", "Norm Zij +", "Norm Zij -"},
         {{"serZijMeasAdd", fuchsia}}},
        {{"Zij profile - I", "Zij profile - II", "Norm Zij at speed + - I",
          "Norm Zij at speed + - II", "Norm Zij at speed - - I", "Norm Zij at speed - - II"},
         {{"serZijMeasAdd", fuchsia},
          {"serNormZijCalcPosAdd", red},
          {"serNormZijCalcNegAdd", red}}},
        {{"Short waves band 1", "Norm short waves +", "Norm short waves -",
          "Short waves band 1 - II"},
         {{"serShortwavesAdd1", fuchsia}}},
        {{"Short waves band 2", "Norm short waves +", "Norm short waves -",
          "Short waves band 2 - II"},
         {{"serShortwavesAdd2", fuchsia}}},
        {{"Short waves band 3", "Norm short waves +", "Norm short waves -",
          "Short waves band 3 - II"},
         {{"serShortwavesAdd3", fuchsia}}},
    };
    for (int kind = 0; kind < kinds.size(); ++kind) {
        SCOPED_TRACE(kind);
        ShowKind(form, kind);
        EXPECT_EQ(chart->LegendTitles(), kinds[kind].first);
        for (const auto& [name, colour] : kinds[kind].second) {
            const QPen pen = chart->Series(name)->pen();
            EXPECT_EQ(pen.color(), colour) << name;
            EXPECT_EQ(pen.width(), 3) << name;
            EXPECT_EQ(pen.style(), Qt::SolidLine) << name;
        }
    }
}

TEST_F(ComparisonWindowTest, WindowOpensWhenNoRecordCanBeBuiltAtAll) {
    const QString language = folder.LanguageFile("EN");
    ASSERT_TRUE(QFile::remove(language));
    ASSERT_TRUE(QDir().mkdir(language)); // a language file that cannot be opened
    const QString first = folder.WriteProfile(dir + "zq0001.xml");
    const QString second = folder.WriteProfile(dir + "zq0002.xml");
    TProjectForm* form = TProjectForm::OpenComparison(&area, first, second);
    ASSERT_NE(form, nullptr);
    // The window's own texts, then each record.
    EXPECT_EQ(dialogs.Texts("Error"), QStringList(3, "Can't open ini-file " + language));
    EXPECT_EQ(form->CurrentProfile(), nullptr);
    EXPECT_EQ(form->SecondProfile(), nullptr);
    EXPECT_EQ(form->windowTitle(), first + " ~ " + second);
    EXPECT_EQ(Text(form, "Edit2"), "zq0001.xml");
    EXPECT_EQ(Text(form, "Edit22"), "zq0002.xml");
    EXPECT_EQ(Text(form, "Edit40"), "");
    for (int kind : {0, 1, 2, 3, 4, 5, 6, 7, 8}) {
        ShowKind(form, kind);
        EXPECT_EQ(Chart(form)->Series("serProfileAdd")->count(), 0);
    }
    EXPECT_TRUE(form->close());
}

} // namespace
