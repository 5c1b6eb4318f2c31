#pragma once
// The chart of a project window (chtDisplay): every curve of the graph views in its fixed order,
// colour, width and dash; the fixed horizontal axis -500..+500 mm; the symmetric vertical axis
// with dotted grey minor grid lines; the zero axis through the middle with black grid lines;
// the legend of the active curves drawn over the plot.
#include <QChartView>
#include <QList>
#include <QString>
#include <functional>

class QLineSeries;
class QValueAxis;

namespace ostiva {
class TProjectData;
}

// Graph kinds, the index of the tab strip, the print dialog and the report.
enum TGraphKind {
    gkTopMeas = 0,
    gkTopNorm,
    gkShortWaves,
    gkTrend,
    gkZijMeas,
    gkZijNorm,
    gkShortWaves1,
    gkShortWaves2,
    gkShortWaves3
};

class TProfileChart : public QChartView {
    Q_OBJECT
  public:
    explicit TProfileChart(QWidget* parent = nullptr);

    // The curve of that name (for example "serProfile", "serNormTopPos", "serShortwavesAdd1"),
    // nullptr for an unknown name. The series' objectName is its curve name.
    QLineSeries* Series(const QString& name) const;
    // All curve names in the chart's curve order (also the legend and drawing order).
    QStringList SeriesNames() const;
    // The title key (section ChartSeriesNames) of a curve; empty for second-profile curves.
    QString TitleKey(const QString& name) const;
    // Sets each curve's legend title from its title key (`lookup` returns the text of a key).
    void SetTitles(const std::function<QString(const QString& key)>& lookup);

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
    // Comparison mode is when any second-profile curve was active before.
    void ApplyGraphKind(int kind);
    bool InComparisonMode() const;

    // The vertical axis rule for a curve and a floor (mm) in graph kind `kind`; returns the
    // largest magnitude found (the floor for a second scaling).
    double ScaleLeftAxis(const QString& name, double floor, int kind);
    double VerticalRange() const; // R of the axis -R..+R
    int MinorCount() const;

    // The legend at the right (project window) or at the bottom (comparison window).
    void SetLegendAtBottom(bool bottom);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void LayoutLegend();
    struct Curve;
    QList<Curve*> curves_;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisZero_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    bool legendAtBottom_ = false;
};
