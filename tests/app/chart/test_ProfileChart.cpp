// The project window's chart: curve table, activity per graph kind, vertical axis rule,
// filling from a record, legend and panning (readout, zoom and marks: test_ChartReadout.cpp).
#include "app/chart/TProfileChart.h"
#include "core/ProjectData.h"

#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QTest>
#include <QValueAxis>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <set>

// Readable failure messages for Qt strings.
void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

using ostiva::TProjectData;

const QStringList kAllCurves = {"serProfile",
                                "serZijMeas",
                                "serZijMeasAdd",
                                "serTrend",
                                "serShortwaves",
                                "serProfileAdd",
                                "serTrendAdd",
                                "serShortwavesAdd",
                                "serNewNormNormLine",
                                "serSamplProfile",
                                "serSamplProfileAdd",
                                "serNewNormProfile",
                                "serNewNormProfileAdd",
                                "serNormTopPos",
                                "serNormTopNeg",
                                "serNormZijPos",
                                "serNormZijCalcPos",
                                "serNormZijCalcPosAdd",
                                "serNormZijNeg",
                                "serNormZijCalcNeg",
                                "serNormZijCalcNegAdd",
                                "serNormShortWavesPos",
                                "serNormShortWavesNeg",
                                "serNormTrendPos",
                                "serNormTrendNeg",
                                "serShortwaves1",
                                "serShortwaves2",
                                "serShortwaves3",
                                "serNormShortWavesPos1",
                                "serNormShortWavesPos2",
                                "serNormShortWavesPos3",
                                "serNormShortWavesNeg1",
                                "serNormShortWavesNeg2",
                                "serNormShortWavesNeg3",
                                "serShortwavesAdd1",
                                "serShortwavesAdd2",
                                "serShortwavesAdd3"};

const QStringList kSecondCurves = {
    "serZijMeasAdd",      "serProfileAdd",        "serTrendAdd",          "serShortwavesAdd",
    "serSamplProfileAdd", "serNewNormProfileAdd", "serNormZijCalcPosAdd", "serNormZijCalcNegAdd",
    "serShortwavesAdd1",  "serShortwavesAdd2",    "serShortwavesAdd3"};

// A record without a file (its construction error is ignored) whose arrays the test fills:
// every curve gets values of its own, scaled by `amplitude` for the profile curves.
std::unique_ptr<TProjectData> MakeRecord(double amplitude = 0.5) {
    auto record = std::make_unique<TProjectData>("/nonexistent/zq_none.xml", "",
                                                 "/nonexistent/ostiva_EN.ini");
    TProjectData& r = *record;
    for (int j = 0; j < ostiva::kSampleCount; ++j) {
        r.PosX[j] = -500 + 5 * j;
        const double wave = std::sin(j * 0.1);
        r.TopMeas[j + 1] = amplitude * wave;
        r.Trend[j + 1] = 0.4 * wave;
        r.ShortWaves[j + 1] = 0.05 * wave;
        r.ZijMeas[j + 1] = 0.9 * wave;
        r.ShortWaves1[j] = j == 0 ? 0 : 0.01 * wave;
        r.ShortWaves2[j] = j == 0 ? 0 : 0.02 * wave;
        r.ShortWaves3[j] = j == 0 ? 0 : 0.03 * wave;
        r.NormTopPos[j] = 0.3;
        r.NormTopNeg[j] = -0.3;
        r.NormTrendPos[j] = 0.4;
        r.NormTrendNeg[j] = -0.4;
        r.NormShortWavesPos[j] = 0.1;
        r.NormShortWavesNeg[j] = -0.1;
        r.NormShortWavesPos1[j] = 0.02;
        r.NormShortWavesNeg1[j] = -0.02;
        r.NormShortWavesPos2[j] = 0.05;
        r.NormShortWavesNeg2[j] = -0.05;
        r.NormShortWavesPos3[j] = 0.15;
        r.NormShortWavesNeg3[j] = -0.15;
        r.NormZijPos[j] = 0.6;
        r.NormZijNeg[j] = -0.6;
        r.NormZijCalcPos[j] = 0.5;
        r.NormZijCalcNeg[j] = -0.5;
    }
    for (int k = 0; k < ostiva::kNewNormCount; ++k) {
        r.SamplX[k] = -500 + 25 * k;
        r.NewNormX[k] = -490 + 25 * k;
        r.SamplProfile[k] = 0.2 * std::cos(k * 0.3);
        r.NewNormProfile[k] = 0.7 * std::cos(k * 0.3);
        r.NewNormNormLine[k] = 1.0;
    }
    return record;
}

QStringList ActiveCurves(const TProfileChart& chart) {
    QStringList active;
    for (const QString& name : chart.SeriesNames())
        if (chart.IsActive(name))
            active.append(name);
    return active;
}

class ProfileChartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        chart.resize(900, 400);
        record = MakeRecord();
        chart.FillCurves(*record);
    }
    // Puts the chart into comparison mode with `second` as the compared profile.
    void Compare(const TProjectData& second) {
        chart.SetActive("serProfileAdd", true);
        chart.FillSecondCurves(second);
    }
    TProfileChart chart;
    std::unique_ptr<TProjectData> record;
};

TEST(ProfileChartTable, CurvesTitleKeysAndLooksFollowTheTable) {
    TProfileChart chart;
    EXPECT_EQ(chart.objectName(), "chtDisplay");
    ASSERT_EQ(chart.SeriesNames(), kAllCurves);
    for (const QString& name : kAllCurves) {
        ASSERT_NE(chart.Series(name), nullptr) << name.toStdString();
        EXPECT_EQ(chart.Series(name)->objectName(), name);
        EXPECT_FALSE(chart.IsActive(name)) << name.toStdString();
    }
    EXPECT_EQ(chart.Series("serUnknown"), nullptr);
    EXPECT_TRUE(chart.LegendTitles().isEmpty());

    EXPECT_EQ(chart.TitleKey("serShortwaves"), "serShortWaves");
    EXPECT_EQ(chart.TitleKey("serShortwaves2"), "serShortWaves2");
    EXPECT_EQ(chart.TitleKey("serNormShortWavesPos3"), "serNormShortWavesPos");
    EXPECT_EQ(chart.TitleKey("serNormShortWavesNeg1"), "serNormShortWavesNeg");
    EXPECT_EQ(chart.TitleKey("serNewNormNormLine"), "serNewNormNormLine");
    for (const QString& name : kSecondCurves)
        EXPECT_TRUE(chart.TitleKey(name).isEmpty()) << name.toStdString();

    const QPen profile = chart.Series("serProfile")->pen();
    EXPECT_EQ(profile.color(), QColor(Qt::blue));
    EXPECT_EQ(profile.width(), 2);
    EXPECT_EQ(profile.style(), Qt::SolidLine);
    EXPECT_EQ(chart.Series("serNormTopPos")->pen().style(), Qt::DashLine);
    EXPECT_EQ(chart.Series("serNormTopNeg")->pen().style(), Qt::DashLine);
    EXPECT_EQ(chart.Series("serNormTrendPos")->pen().style(), Qt::SolidLine);
    EXPECT_EQ(chart.Series("serProfileAdd")->pen().color(), QColor(255, 0, 255));
    EXPECT_EQ(chart.Series("serProfileAdd")->pen().width(), 3);
    EXPECT_EQ(chart.Series("serNewNormProfile")->pen().color(), QColor(255, 128, 0));
    EXPECT_EQ(chart.Series("serNewNormProfileAdd")->pen().color(), QColor(255, 128, 0));
    EXPECT_EQ(chart.Series("serNormZijCalcPosAdd")->pen().color(), QColor(Qt::red));
    EXPECT_EQ(chart.Series("serNormZijCalcPosAdd")->pen().width(), 3);
}

TEST_F(ProfileChartTest, EachKindActivatesItsCurvesOnly) {
    const QList<QStringList> expected = {
        {"serProfile", "serNormTopPos", "serNormTopNeg"},
        {"serNewNormNormLine", "serSamplProfile", "serNewNormProfile"},
        {"serShortwaves", "serNormShortWavesPos", "serNormShortWavesNeg"},
        {"serTrend", "serNormTrendPos", "serNormTrendNeg"},
        {"serZijMeas", "serNormZijPos", "serNormZijNeg"},
        {"serZijMeas", "serNormZijCalcPos", "serNormZijCalcNeg"},
        {"serShortwaves1", "serNormShortWavesPos1", "serNormShortWavesNeg1"},
        {"serShortwaves2", "serNormShortWavesPos2", "serNormShortWavesNeg2"},
        {"serShortwaves3", "serNormShortWavesPos3", "serNormShortWavesNeg3"},
    };
    // Forward and back again: switching kinds never leaves a curve of another kind behind.
    for (int kind : {0, 1, 2, 3, 4, 5, 6, 7, 8, 3, 0}) {
        chart.ApplyGraphKind(kind);
        EXPECT_EQ(ActiveCurves(chart), expected[kind]) << "kind " << kind;
        EXPECT_FALSE(chart.InComparisonMode());
    }
    // Out of range: nothing changes.
    chart.ApplyGraphKind(9);
    chart.ApplyGraphKind(-1);
    EXPECT_EQ(ActiveCurves(chart), expected[0]);
}

TEST_F(ProfileChartTest, LegendListsTheActiveCurvesInChartOrder) {
    chart.SetTitles(
        [](const QString& key) { return key == "serNormTopNeg" ? QString("Error") : "T:" + key; });
    chart.ApplyGraphKind(gkTopMeas);
    EXPECT_EQ(chart.LegendTitles(), QStringList({"T:serProfile", "T:serNormTopPos", "Error"}));
    chart.ApplyGraphKind(gkShortWaves2);
    EXPECT_EQ(chart.LegendTitles(), QStringList({"T:serShortWaves2", "T:serNormShortWavesPos",
                                                 "T:serNormShortWavesNeg"}));
    EXPECT_TRUE(chart.chart()->legend()->isVisible());
    // Second-profile curves have no key: SetTitles leaves them alone.
    EXPECT_TRUE(chart.Series("serProfileAdd")->name().isEmpty());
}

TEST_F(ProfileChartTest, VerticalAxisFollowsTheProfileInKindZero) {
    struct Case {
        double extreme;
        double range;
        int minor;
    };
    for (const Case& c :
         {Case{0.8, 1, 9}, Case{1.0, 1, 9}, Case{1.5, 2, 4}, Case{2.0, 2, 4}, Case{3, 2, 1}}) {
        chart.FillCurves(*MakeRecord(c.extreme));
        chart.ApplyGraphKind(gkTopMeas);
        EXPECT_DOUBLE_EQ(chart.VerticalRange(), c.range) << c.extreme;
        EXPECT_EQ(chart.MinorCount(), c.minor) << c.extreme;
    }
    // A negative extreme counts by its size.
    chart.SetLimitLine("serProfile", -1.5);
    EXPECT_DOUBLE_EQ(chart.ScaleLeftAxis("serProfile", 0, gkTopMeas), 1.5);
    EXPECT_DOUBLE_EQ(chart.VerticalRange(), 2);
    EXPECT_EQ(chart.MinorCount(), 4);
    // An empty curve scales to its floor.
    chart.Series("serProfile")->clear();
    EXPECT_DOUBLE_EQ(chart.ScaleLeftAxis("serProfile", 0, gkTopMeas), 0);
    EXPECT_DOUBLE_EQ(chart.VerticalRange(), 1);
    const QValueAxis* axisY = qobject_cast<QValueAxis*>(chart.chart()->axes(Qt::Vertical).value(0));
    ASSERT_NE(axisY, nullptr);
    EXPECT_DOUBLE_EQ(axisY->min(), -1);
    EXPECT_TRUE(axisY->isMinorGridLineVisible());
    EXPECT_EQ(axisY->minorGridLinePen().style(), Qt::DotLine);
}

TEST_F(ProfileChartTest, LateralKindHasFloorTwoAndOtherKindsFixedRanges) {
    chart.ApplyGraphKind(gkZijMeas); // lateral profile within 0.9 mm
    EXPECT_DOUBLE_EQ(chart.VerticalRange(), 2);
    EXPECT_EQ(chart.MinorCount(), 4);
    chart.SetLimitLine("serZijMeas", 2.5);
    chart.ApplyGraphKind(gkZijMeas);
    EXPECT_DOUBLE_EQ(chart.VerticalRange(), 2);
    EXPECT_EQ(chart.MinorCount(), 1);

    chart.FillCurves(*MakeRecord(3)); // the profile beyond 2 mm changes no fixed range
    const std::pair<int, double> fixed[] = {{1, 2.0},  {2, 0.3}, {3, 1.0}, {5, 2.0},
                                            {6, 0.06}, {7, 0.2}, {8, 0.4}};
    for (auto [kind, range] : fixed) {
        chart.ApplyGraphKind(kind);
        EXPECT_DOUBLE_EQ(chart.VerticalRange(), range) << "kind " << kind;
        EXPECT_EQ(chart.MinorCount(), 1) << "kind " << kind;
    }
}

TEST_F(ProfileChartTest, FillPairsSamplesAndBandsWithPositions) {
    const TProjectData& r = *record;
    const QList<QPointF> profile = chart.Series("serProfile")->points();
    ASSERT_EQ(profile.size(), 201);
    for (int j = 0; j < 201; ++j) {
        EXPECT_EQ(profile[j], QPointF(r.PosX[j], r.TopMeas[j + 1])) << j;
    }
    EXPECT_EQ(chart.Series("serZijMeas")->at(200), QPointF(500, r.ZijMeas[201]));
    EXPECT_EQ(chart.Series("serTrend")->at(10), QPointF(-450, r.Trend[11]));
    EXPECT_EQ(chart.Series("serShortwaves")->at(0), QPointF(-500, r.ShortWaves[1]));

    for (const char* band : {"serShortwaves1", "serShortwaves2", "serShortwaves3"}) {
        const QList<QPointF> points = chart.Series(band)->points();
        ASSERT_EQ(points.size(), 201) << band;
        EXPECT_EQ(points[0], QPointF(-500, 0)) << band;
    }
    for (int j = 0; j < 201; ++j)
        EXPECT_EQ(chart.Series("serShortwaves2")->at(j), QPointF(r.PosX[j], r.ShortWaves2[j]));

    const QList<QPointF> newNorm = chart.Series("serNewNormProfile")->points();
    ASSERT_EQ(newNorm.size(), 41);
    EXPECT_EQ(newNorm[40], QPointF(r.NewNormX[40], r.NewNormProfile[40]));
    EXPECT_EQ(chart.Series("serNewNormNormLine")->at(3), QPointF(r.SamplX[3], 1.0));
    EXPECT_EQ(chart.Series("serSamplProfile")->count(), 41);
    EXPECT_EQ(chart.Series("serNormShortWavesNeg3")->at(7), QPointF(r.PosX[7], -0.15));
    EXPECT_EQ(chart.Series("serNormZijCalcPos")->count(), 201);

    // The first profile leaves the second-profile curves empty, and the reverse.
    for (const QString& name : kSecondCurves)
        EXPECT_EQ(chart.Series(name)->count(), 0) << name.toStdString();
    chart.FillSecondCurves(*MakeRecord(1.5));
    EXPECT_EQ(chart.Series("serProfile")->points(), profile);
    EXPECT_EQ(chart.Series("serProfileAdd")->count(), 201);
    EXPECT_DOUBLE_EQ(chart.Series("serProfileAdd")->at(5).y(), 1.5 * std::sin(0.5));
    EXPECT_EQ(chart.Series("serSamplProfileAdd")->count(), 41);
    EXPECT_EQ(chart.Series("serNormZijCalcNegAdd")->at(0), QPointF(-500, -0.5));
    EXPECT_EQ(chart.Series("serShortwavesAdd3")->at(0), QPointF(-500, 0));

    // Refilling replaces the points instead of adding to them.
    chart.FillCurves(r);
    EXPECT_EQ(chart.Series("serProfile")->count(), 201);
}

TEST_F(ProfileChartTest, ValuesThatAreNotFiniteAreLeftOut) {
    auto broken = MakeRecord();
    broken->TopMeas[5] = std::numeric_limits<double>::quiet_NaN();
    broken->TopMeas[6] = std::numeric_limits<double>::infinity();
    chart.FillCurves(*broken);
    EXPECT_EQ(chart.Series("serProfile")->count(), 199);
    chart.ApplyGraphKind(gkTopMeas);
    EXPECT_DOUBLE_EQ(chart.VerticalRange(), 1);
    chart.SetLimitLine("serNormTopPos", std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(chart.Series("serNormTopPos")->count(), 201);
}

TEST_F(ProfileChartTest, PlaceholdersAndLimitLines) {
    chart.FillPlaceholders();
    for (const char* name : {"serProfile", "serTrend", "serShortwaves", "serShortwaves1",
                             "serShortwaves2", "serShortwaves3"}) {
        const QList<QPointF> points = chart.Series(name)->points();
        ASSERT_EQ(points.size(), 200) << name;
        EXPECT_EQ(points.front(), QPointF(-500, 1000)) << name;
        EXPECT_EQ(points.back(), QPointF(495, 1000)) << name;
    }
    // Other curves keep what they had.
    EXPECT_EQ(chart.Series("serZijMeas")->count(), 201);

    chart.SetLimitLine("serNormTrendPos", 0.75);
    EXPECT_EQ(chart.Series("serNormTrendPos")->points(),
              QList<QPointF>({QPointF(-500, 0.75), QPointF(500, 0.75)}));
    chart.SetLimitLine("serNoSuchCurve", 1); // ignored
}

TEST_F(ProfileChartTest, ComparisonShowsAndFitsBothProfiles) {
    chart.SetTitles([](const QString& key) { return key; });
    Compare(*MakeRecord(1.5)); // first within 0.5 mm, second reaching 1.5 mm
    EXPECT_TRUE(chart.InComparisonMode());
    chart.ApplyGraphKind(gkTopMeas);
    EXPECT_EQ(ActiveCurves(chart),
              QStringList({"serProfile", "serProfileAdd", "serNormTopPos", "serNormTopNeg"}));
    EXPECT_DOUBLE_EQ(chart.VerticalRange(), 2);
    EXPECT_EQ(chart.MinorCount(), 4);

    chart.ApplyGraphKind(gkTopNorm);
    EXPECT_EQ(ActiveCurves(chart),
              QStringList({"serNewNormNormLine", "serSamplProfile", "serSamplProfileAdd",
                           "serNewNormProfile", "serNewNormProfileAdd"}));
    chart.ApplyGraphKind(gkZijNorm);
    EXPECT_EQ(ActiveCurves(chart),
              QStringList({"serZijMeas", "serZijMeasAdd", "serNormZijCalcPos",
                           "serNormZijCalcPosAdd", "serNormZijCalcNeg", "serNormZijCalcNegAdd"}));
    chart.ApplyGraphKind(gkShortWaves3);
    EXPECT_EQ(ActiveCurves(chart), QStringList({"serShortwaves3", "serNormShortWavesPos3",
                                                "serNormShortWavesNeg3", "serShortwavesAdd3"}));
    EXPECT_TRUE(chart.InComparisonMode());

    // The first profile is the larger one: its maximum stays the floor.
    chart.FillCurves(*MakeRecord(3));
    chart.FillSecondCurves(*MakeRecord(0.2));
    chart.ApplyGraphKind(gkTopMeas);
    EXPECT_EQ(chart.MinorCount(), 1);

    chart.AppendComparisonSuffixes();
    chart.ApplyGraphKind(gkTrend);
    EXPECT_EQ(chart.LegendTitles(),
              QStringList({"serTrend - I", "serTrend - II", "serNormTrendPos", "serNormTrendNeg"}));
    chart.ApplyGraphKind(gkShortWaves1);
    EXPECT_EQ(chart.LegendTitles(), QStringList({"serShortWaves1", "serNormShortWavesPos",
                                                 "serNormShortWavesNeg", "serShortWaves1 - II"}));
    chart.SetLegendAtBottom(true);
    EXPECT_EQ(chart.LegendTitles().size(), 4);
}

TEST_F(ProfileChartTest, NarrowChartShowsEveryAxisLabelWhole) {
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    const QList<QAbstractAxis*> axes = chart.chart()->axes();
    ASSERT_EQ(axes.size(), 2);
    auto* axisX = qobject_cast<QValueAxis*>(chart.chart()->axes(Qt::Horizontal).value(0));
    ASSERT_NE(axisX, nullptr);
    EXPECT_EQ(axisX->tickCount(), 11) << "a wide chart marks every 100 mm";
    for (int width : {520, 400, 300, 220, 160}) {
        for (int kind : {gkTopMeas, gkShortWaves1, gkTopNorm}) {
            chart.resize(width, 260);
            chart.ApplyGraphKind(kind);
            QCoreApplication::processEvents();
            for (const QAbstractAxis* axis : axes)
                EXPECT_FALSE(axis->labelsTruncated())
                    << "width " << width << " kind " << kind << " " << axis->orientation();
        }
    }
}

TEST_F(ProfileChartTest, RightDraggingPansHorizontallyAndApplyingAKindResets) {
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    chart.ApplyGraphKind(gkTopMeas);
    const QValueAxis* axisX =
        qobject_cast<QValueAxis*>(chart.chart()->axes(Qt::Horizontal).value(0));
    ASSERT_NE(axisX, nullptr);
    const QPoint start = chart.chart()->plotArea().center().toPoint();
    QTest::mousePress(chart.viewport(), Qt::RightButton, {}, start);
    QTest::mouseMove(chart.viewport(), start + QPoint(100, 30));
    QTest::mouseRelease(chart.viewport(), Qt::RightButton, {}, start + QPoint(100, 30));
    EXPECT_LT(axisX->min(), -500);
    EXPECT_NEAR(axisX->max() - axisX->min(), 1000, 1e-6);
    EXPECT_DOUBLE_EQ(chart.VerticalRange(), 1);

    chart.ApplyGraphKind(gkTopMeas);
    EXPECT_DOUBLE_EQ(axisX->min(), -500);
    EXPECT_DOUBLE_EQ(axisX->max(), 500);

    chart.chart()->scroll(50, 0);
    QTest::mouseDClick(chart.viewport(), Qt::LeftButton, {}, start);
    EXPECT_DOUBLE_EQ(axisX->min(), -500);
}

} // namespace
