#pragma once
// The chart of a project window (chtDisplay): every curve of the graph views in its fixed order,
// colour, width and dash; the fixed horizontal axis -500..+500 mm; the symmetric vertical axis
// with dotted grey minor grid lines; the zero line through the middle in black; the legend of
// the active curves drawn over the plot.
//
// Under the mouse a readout tells the position and each active curve's value there; a curve cut
// off by the plotted range gets a mark with its extreme at that edge. Dragging a rectangle with
// the left button zooms into it, dragging with the right button pans sideways; a double-click or
// Escape returns to the kind's axes. The wheel is left to the window, which scrolls.
#include "app/chart/ChartReadout.h"
#include "app/chart/GraphKinds.h"

#include <QChartView>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

struct CurveSpec;
class QGraphicsRectItem;
class QLabel;
class QRubberBand;
class QLineSeries;
class QValueAxis;

namespace ostiva {
class TProjectData;
}

class TProfileChart : public QChartView {
    Q_OBJECT
  public:
    explicit TProfileChart(QWidget* parent = nullptr);
    ~TProfileChart() override;

    // The curve of that name (for example "serProfile", "serNormTopPos", "serShortwavesAdd1"),
    // nullptr for an unknown name. The series' objectName is its curve name.
    QLineSeries* Series(const QString& name) const;
    // All curve names in the chart's curve order (also the legend and drawing order).
    QStringList SeriesNames() const;
    // The title key (section ChartSeriesNames) of a curve; empty for second-profile curves.
    QString TitleKey(const QString& name) const;
    // Sets each curve's legend title from its title key (`lookup` returns the text of a key).
    // Second-profile curves have no key and keep their titles.
    void SetTitles(const std::function<QString(const QString& key)>& lookup);
    // Comparison window: each second-profile curve gets its first-profile curve's title plus
    // " - II", then the first-profile curves that have a partner get " - I".
    void AppendComparisonSuffixes();

    bool IsActive(const QString& name) const;
    void SetActive(const QString& name, bool active);

    // Empties every first-profile curve and fills it from the record.
    void FillCurves(const ostiva::TProjectData& record);
    // Empties the eleven second-profile curves and fills them from the second record.
    void FillSecondCurves(const ostiva::TProjectData& record);
    // The six profile curves get 200 points at y = 1000 mm (x = -500 .. +495), off the plot.
    void FillPlaceholders();
    // A limit curve as two points (-500, value) and (+500, value).
    void SetLimitLine(const QString& name, double value);

    // Activates the kind's curves (and, in comparison mode, its second-profile curves),
    // deactivates every other curve and scales the vertical axis by the kind's rule.
    // Comparison mode is when any second-profile curve was active before. The horizontal
    // axis returns to -500..+500. A kind outside 0..8 changes nothing.
    void ApplyGraphKind(int index);
    bool InComparisonMode() const;

    // The vertical axis rule for a curve and a floor (mm) in graph kind `kind`; returns the
    // largest magnitude found (the floor for a second scaling).
    double ScaleLeftAxis(const QString& name, double floor, TGraphKind kind);
    double VerticalRange() const; // R of the axis -R..+R
    int MinorCount() const;

    // The horizontal axis back to -500..+500 mm after the user panned it.
    void ResetHorizontalRange();
    // Both axes back to the last applied kind's rule after a zoom or a pan.
    void RestoreAxes();
    bool IsZoomed() const;

    // The marks of the active curves that the current axes cut off, in curve order.
    struct ShownMark {
        QString curve;
        OffRangeMark mark;
    };
    QList<ShownMark> ShownOffRangeMarks() const;

    // The legend at the right (project window) or at the bottom (comparison window).
    void SetLegendAtBottom(bool bottom);
    // The titles the legend shows, in order (the markers that are visible).
    QStringList LegendTitles() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

  private:
    struct Curve {
        const CurveSpec* def;
        QLineSeries* series;
    };
    Curve* Find(const QString& name) const;
    void Fill(const QString& name, QList<QPointF> points);
    void SetVerticalAxis(double range, int minorCount);
    void UpdateZeroLine();
    void FitHorizontalTicks();
    void LayoutLegend();
    void ScaleForKind(TGraphKind kind);
    void CreateMouseTools();
    // The plot area in the viewport's coordinates.
    QRectF PlotInViewport() const;
    void UpdateReadout(const QPointF& position);
    // Reads the curves again under the resting cursor once the axes moved beneath it.
    void FollowAxesWithReadout();
    void HideReadout();
    void ZoomTo(const QRectF& area);

    QList<Curve*> curves_;
    QHash<QString, Curve*> byName_;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    QLineSeries* zeroLine_ = nullptr;
    QGraphicsRectItem* legendFrame_ = nullptr;
    bool legendAtBottom_ = false;
    bool panning_ = false;
    double lastPanX_ = 0;
    std::optional<TGraphKind> kind_; // the last kind applied
    QLabel* readout_ = nullptr;
    QPointF readoutAt_; // the cursor the readout was made for
    QRubberBand* rubberBand_ = nullptr;
    QPoint zoomOrigin_;
    bool zoomed_ = false;
};
