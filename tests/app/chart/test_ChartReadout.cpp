// The chart under the mouse: the readout of position and values, the marks of extremes the
// plotted range cuts off, the rectangle zoom and its way back, and the wheel left alone.
#include "app/chart/TProfileChart.h"
#include "core/ProjectData.h"

#include <QChart>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QRegularExpression>
#include <QTest>
#include <QValueAxis>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

using ostiva::TProjectData;

// A record without a file: every sample list flat at `level`, the vertical profile with two
// samples of its own (0.10 at x = -5 mm and 0.30 at x = 0), the Top limits at ±0.3 mm.
std::unique_ptr<TProjectData> MakeRecord(double level = 0) {
    auto record = std::make_unique<TProjectData>("/nonexistent/zq_none.xml", "",
                                                 "/nonexistent/ostiva_EN.ini");
    TProjectData& r = *record;
    for (int j = 0; j < ostiva::kSampleCount; ++j) {
        r.PosX[j] = -500 + 5 * j;
        r.TopMeas[j + 1] = level;
        r.Trend[j + 1] = level;
        r.NormTopPos[j] = 0.3;
        r.NormTopNeg[j] = -0.3;
        r.NormTrendPos[j] = 0.4;
        r.NormTrendNeg[j] = -0.4;
    }
    return record;
}

class ChartReadoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        chart.resize(900, 400);
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
        readout = chart.findChild<QLabel*>("lblChartReadout");
        ASSERT_NE(readout, nullptr);
    }
    void Show(const TProjectData& record, TGraphKind kind) {
        chart.FillCurves(record);
        chart.SetTitles([](const QString& key) { return key; });
        chart.ApplyGraphKind(kind);
        QCoreApplication::processEvents();
    }
    // The viewport pixel nearest to a chart value.
    QPoint At(double x, double y) const {
        QChart* c = chart.chart();
        return chart.mapFromScene(c->mapToScene(c->mapToPosition(QPointF(x, y))));
    }
    // The chart value under a viewport pixel, as the axes place it.
    QPointF ValueUnder(const QPoint& pixel) const {
        QChart* c = chart.chart();
        return c->mapToValue(c->mapFromScene(chart.mapToScene(pixel)));
    }
    // The number after "<title>: " in the readout; NaN when the line is missing.
    double ReadoutValue(const QString& title) const {
        const QRegularExpression line("^" + QRegularExpression::escape(title) +
                                      ": (-?[0-9]+\\.[0-9]+)$");
        for (const QString& text : readout->text().split('\n'))
            if (const auto m = line.match(text); m.hasMatch())
                return m.captured(1).toDouble();
        return std::numeric_limits<double>::quiet_NaN();
    }
    QValueAxis* Axis(Qt::Orientation orientation) const {
        return qobject_cast<QValueAxis*>(chart.chart()->axes(orientation).value(0));
    }
    TProfileChart chart;
    QLabel* readout = nullptr;
};

TEST_F(ChartReadoutTest, ReadoutInterpolatesBetweenSamplesStaysAwayAndLeavesWithTheMouse) {
    std::unique_ptr<TProjectData> r = MakeRecord();
    r->TopMeas[100] = 0.10; // x = -5
    r->TopMeas[101] = 0.30; // x = 0
    Show(*r, gkTopMeas);
    EXPECT_FALSE(readout->isVisible());

    const QPoint cursor = At(-2.5, 0.8);
    QTest::mouseMove(chart.viewport(), cursor);
    ASSERT_TRUE(readout->isVisible());
    // The pixel lies within a millimetre of -2.5; the profile rises 0.04 per mm there.
    const double x = ValueUnder(cursor).x();
    ASSERT_NEAR(x, -2.5, 1.0);
    const QStringList lines = readout->text().split('\n');
    EXPECT_TRUE(lines.value(0).startsWith("x = -") && lines.value(0).endsWith(" mm"))
        << lines.value(0).toStdString();
    EXPECT_NEAR(ReadoutValue("serProfile"), 0.10 + 0.04 * (x + 5), 0.0006);
    EXPECT_DOUBLE_EQ(ReadoutValue("serNormTopPos"), 0.3);
    EXPECT_DOUBLE_EQ(ReadoutValue("serNormTopNeg"), -0.3);
    EXPECT_TRUE(std::isnan(ReadoutValue("serTrend"))); // not a curve of this kind
    // Across from a cursor in the upper left: lower right, clear of the cursor.
    const QRect box = readout->geometry();
    EXPECT_FALSE(box.intersects(QRect(cursor - QPoint(40, 40), QSize(80, 80))));
    EXPECT_GT(box.left(), cursor.x());
    EXPECT_GT(box.top(), cursor.y());
    // A cursor in the lower right sends it to the upper left.
    QTest::mouseMove(chart.viewport(), At(400, -0.8));
    EXPECT_LT(readout->geometry().right(), At(400, -0.8).x());
    EXPECT_LT(readout->geometry().bottom(), At(400, -0.8).y());

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(chart.viewport(), &leave);
    EXPECT_FALSE(readout->isVisible());
    // Outside the plot (over the axis labels) there is nothing to read either.
    QTest::mouseMove(chart.viewport(), At(0, 0.5));
    ASSERT_TRUE(readout->isVisible());
    QTest::mouseMove(chart.viewport(), QPoint(2, 2));
    EXPECT_FALSE(readout->isVisible());
}

TEST_F(ChartReadoutTest, ComparisonReadoutShowsBothProfilesAndFollowsTheKind) {
    std::unique_ptr<TProjectData> first = MakeRecord(0.10);
    std::unique_ptr<TProjectData> second = MakeRecord(-0.40);
    chart.SetActive("serProfileAdd", true);
    chart.FillSecondCurves(*second);
    chart.FillCurves(*first);
    chart.SetTitles([](const QString& key) { return key; });
    chart.AppendComparisonSuffixes();
    chart.ApplyGraphKind(gkTopMeas);

    QTest::mouseMove(chart.viewport(), At(120, 0.3));
    EXPECT_DOUBLE_EQ(ReadoutValue("serProfile - I"), 0.1);
    EXPECT_DOUBLE_EQ(ReadoutValue("serProfile - II"), -0.4);

    chart.ApplyGraphKind(gkTrend);
    EXPECT_FALSE(readout->isVisible());
    QTest::mouseMove(chart.viewport(), At(150, 0.3));
    EXPECT_DOUBLE_EQ(ReadoutValue("serTrend - I"), 0.1);
    EXPECT_DOUBLE_EQ(ReadoutValue("serTrend - II"), -0.4);
    EXPECT_TRUE(std::isnan(ReadoutValue("serProfile - I")));
}

TEST_F(ChartReadoutTest, ExtremesBeyondTheFixedRangeAreMarkedAtTheirEdge) {
    std::unique_ptr<TProjectData> r = MakeRecord();
    r->Trend[101] = 2.5;  // x = 0: far above the trend kind's fixed ±1 mm
    r->Trend[51] = -1.2;  // x = -250: beyond the range too, but not the lowest
    r->Trend[52] = -1.7;  // x = -245
    r->TopMeas[31] = 0.9; // x = -350: inside Top_Meas's ±1 mm
    // A limit line beyond the range is read in the readout, not marked.
    for (int j = 0; j < ostiva::kSampleCount; ++j)
        r->NormTrendPos[j] = 1.2;
    Show(*r, gkTrend);
    ASSERT_DOUBLE_EQ(chart.VerticalRange(), 1);
    const QList<TProfileChart::ShownMark> marks = chart.ShownOffRangeMarks();
    ASSERT_EQ(marks.size(), 2);
    EXPECT_EQ(marks[0].curve, "serTrend");
    EXPECT_DOUBLE_EQ(marks[0].mark.x, 0);
    EXPECT_DOUBLE_EQ(marks[0].mark.y, 2.5);
    EXPECT_TRUE(marks[0].mark.above);
    EXPECT_DOUBLE_EQ(marks[1].mark.x, -245);
    EXPECT_DOUBLE_EQ(marks[1].mark.y, -1.7);
    EXPECT_FALSE(marks[1].mark.above);

    // The value is written beside the triangle at the top edge, in black: away from the
    // narrow peak nothing else there is that dark.
    const QImage image = chart.grab().toImage();
    const QPoint tip = At(0, 1);
    int dark = 0;
    for (int x = tip.x() + 6; x < tip.x() + 45; ++x)
        for (int y = tip.y() + 2; y < tip.y() + 18; ++y)
            if (qGray(image.pixel(x, y)) < 60)
                ++dark;
    EXPECT_GT(dark, 10);

    Show(*r, gkTopMeas);
    EXPECT_TRUE(chart.ShownOffRangeMarks().isEmpty());
}

TEST_F(ChartReadoutTest, DraggedRectangleZoomsAndEscapeOrDoubleClickRestoreTheKindsAxes) {
    std::unique_ptr<TProjectData> r = MakeRecord();
    r->TopMeas[101] = 1.5; // Top_Meas: ±2 mm with 4 minor lines
    Show(*r, gkTopMeas);
    QValueAxis* axisX = Axis(Qt::Horizontal);
    QValueAxis* axisY = Axis(Qt::Vertical);
    const auto zoom = [&] {
        const QPoint from = At(-200, 1), to = At(100, -0.5);
        QTest::mousePress(chart.viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(chart.viewport(), (from + to) / 2);
        QTest::mouseMove(chart.viewport(), to);
        QTest::mouseRelease(chart.viewport(), Qt::LeftButton, {}, to);
    };
    const auto expectKindsAxes = [&] {
        EXPECT_FALSE(chart.IsZoomed());
        EXPECT_DOUBLE_EQ(axisX->min(), -500);
        EXPECT_DOUBLE_EQ(axisX->max(), 500);
        EXPECT_DOUBLE_EQ(axisY->min(), -2);
        EXPECT_DOUBLE_EQ(axisY->max(), 2);
        EXPECT_EQ(chart.MinorCount(), 4);
    };
    zoom();
    EXPECT_TRUE(chart.IsZoomed());
    // Pixels are a few tenths of a millimetre wide at this size.
    EXPECT_NEAR(axisX->min(), -200, 3);
    EXPECT_NEAR(axisX->max(), 100, 3);
    EXPECT_NEAR(axisY->min(), -0.5, 0.03);
    EXPECT_NEAR(axisY->max(), 1, 0.03);
    // The peak of 1.5 mm now leaves the zoomed range and is marked.
    ASSERT_EQ(chart.ShownOffRangeMarks().size(), 1);
    EXPECT_DOUBLE_EQ(chart.ShownOffRangeMarks()[0].mark.y, 1.5);

    // The cursor rests a sixth of the way across the zoomed -200..100 mm while Escape restores
    // -500..500: the readout now reads a sixth of the way across that, about -333 mm.
    QTest::mouseMove(chart.viewport(), At(-150, 0));
    ASSERT_TRUE(readout->isVisible());
    QTest::keyClick(&chart, Qt::Key_Escape);
    expectKindsAxes();
    ASSERT_TRUE(readout->isVisible());
    const QString first = readout->text().split('\n').value(0);
    const QRegularExpression position("^x = (-?[0-9]+\\.[0-9]) mm$");
    ASSERT_TRUE(position.match(first).hasMatch()) << first.toStdString();
    EXPECT_NEAR(position.match(first).captured(1).toDouble(), -1000.0 / 3, 3);

    zoom();
    ASSERT_TRUE(chart.IsZoomed());
    QTest::mouseDClick(chart.viewport(), Qt::LeftButton, {}, At(0, 0));
    expectKindsAxes();

    // A click is no zoom.
    QTest::mouseClick(chart.viewport(), Qt::LeftButton, {}, At(0, 0));
    expectKindsAxes();

    // The wheel is passed on to the window and changes nothing here.
    const QPointF where = At(0, 0);
    QWheelEvent wheel(where, chart.viewport()->mapToGlobal(where), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(chart.viewport(), &wheel);
    EXPECT_FALSE(wheel.isAccepted());
    expectKindsAxes();
}

} // namespace
