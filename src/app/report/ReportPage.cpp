#include "app/report/ReportPage.h"

#include "app/chart/Curves.h"
#include "app/common/AppContext.h"
#include "app/common/LanguageTexts.h"
#include "core/NumberText.h"
#include "core/ProjectData.h"

#include <algorithm>
#include <stdexcept>

namespace {

using ostiva::TProjectData;
using Text = std::string TProjectData::*;

const QString kWebAddress = "www.ostiva-rail.example";
const QString kII = "_II";

// Row tops of the value grid; row 0 holds the column heads of a comparison page.
constexpr double kRowTop[] = {139.7, 146.1, 152.4, 158.8, 164.8, 171.2, 177.5, 183.9};
constexpr double kRowHeight = 4.5;
constexpr double kWrappedHeight = 11.4; // the Track value: two rows
constexpr int kWrappedLines = 2;

struct Group {
    char letter;
    double captionLeft;
    double valueLeft, valueRight;   // single page
    double firstLeft, firstRight;   // profile I on a comparison page
    double secondLeft, secondRight; // profile II
    double headFirst, headSecond;   // left edges of the column heads
    Qt::Alignment align;
    bool bold;
    bool numbers; // values are numbers: set smaller rather than cut
};

// clang-format off
const Group kGroups[] = {
    {'A', 0,     26.2,  112.5, 26.2,  69.4,  70.2,  113.3, 45.5,  88.9,  Qt::AlignLeft,  false, false},
    {'B', 113.8, 136.8, 187.1, 136.8, 161.9, 163.0, 186.8, 140.5, 168.0, Qt::AlignLeft,  false, false},
    {'C', 187.1, 222.2, 231.5, 222.2, 231.5, 232.4, 241.7, 223.6, 233.6, Qt::AlignRight, false, true},
    {'D', 243.2, 255.3, 264.6, 255.3, 264.6, 264.8, 275.6, 256.6, 266.2, Qt::AlignRight, true,  true},
};
// clang-format on
constexpr double kHeadWidth = 6.6;

struct HeaderRow {
    char group;
    int row;
    const char* captionKey;
    const char* builtIn;
    Text value;
};

const HeaderRow kHeaderRows[] = {
    {'A', 1, "Label13", "Weld number:", &TProjectData::LasNr},
    {'A', 2, "Label2", "Serial No:", &TProjectData::Device},
    {'A', 3, "Label3", "Report:", &TProjectData::FileName},
    {'A', 4, "Label4", "Date:", &TProjectData::Datum},
    {'A', 5, "Label5", "Time:", &TProjectData::Tijd},
    {'A', 6, "Label6", "Job number:", &TProjectData::WerkNummer},
    {'A', 7, "Label8", "Operator:", &TProjectData::LasSer},
    {'B', 1, "Label9", "Location code:", &TProjectData::Plaats},
    {'B', 2, "Label11", "Rail type", &TProjectData::Km},
    {'B', 3, "Label12", "Rail L/R:", &TProjectData::Rail},
    {'B', 4, "Label14", "Weld type:", &TProjectData::LasType},
    {'B', 5, "Label7", "Switch / Km:", &TProjectData::Wissel},
    {'B', 6, "Label10", "Track:", &TProjectData::Spoor},
};

struct ParameterCaption {
    const char* key;
    const char* builtIn;
};
const ParameterCaption kMeasurementCaptions[] = {{"Label15", "Pos. versine [mm]:"},
                                                 {"Label16", "Neg. versine [mm]:"},
                                                 {"Label17", "Pos. inclination [mm/m]:"},
                                                 {"Label18", "Neg. inclination [mm/m]:"}};
const ParameterCaption kCorrugationCaptions[] = {{"Label19", "Avg. amplitude [mm]:"},
                                                 {"Label20", "Avg. wavelength [cm]:"},
                                                 {"Label21", "Grinding index [mm]:"},
                                                 {"Label79", "Loss [%]:"},
                                                 {"Label83", "Max Top-Top amplit. [mm]:"}};

using Parameters = std::array<Text, 5>;
const Parameters kTopSet = {&TProjectData::TopPosP, &TProjectData::TopNegP, &TProjectData::TopPosH,
                            &TProjectData::TopNegH, nullptr};
const Parameters kZijSet = {&TProjectData::ZijPosP, &TProjectData::ZijNegP, &TProjectData::ZijPosH,
                            &TProjectData::ZijNegH, nullptr};
const Parameters kBand0 = {&TProjectData::ShortWavesGA, &TProjectData::ShortWavesGG,
                           &TProjectData::ShortWavesGSD, &TProjectData::ShortWavesLoss,
                           &TProjectData::ShortWavesAPP};
const Parameters kBand1 = {&TProjectData::ShortWavesGA1, &TProjectData::ShortWavesGG1,
                           &TProjectData::ShortWavesGSD1, &TProjectData::ShortWavesLoss1,
                           &TProjectData::ShortWavesAPP1};
const Parameters kBand2 = {&TProjectData::ShortWavesGA2, &TProjectData::ShortWavesGG2,
                           &TProjectData::ShortWavesGSD2, &TProjectData::ShortWavesLoss2,
                           &TProjectData::ShortWavesAPP2};
const Parameters kBand3 = {&TProjectData::ShortWavesGA3, &TProjectData::ShortWavesGG3,
                           &TProjectData::ShortWavesGSD3, &TProjectData::ShortWavesLoss3,
                           &TProjectData::ShortWavesAPP3};

// What the page shows of each graph kind: the curves (by their name in the curves table) of
// Series1, Series3 and Series4, the quality text (nullptr: none), whether the V/A block shows
// and group C's parameter set.
struct ReportKind {
    TGraphKind kind;
    const char* curve1;
    const char* curve3;
    const char* curve4;
    Text quality;
    bool corrugation;
    const Parameters* parameters;
};

// clang-format off
const ReportKind kReportKinds[] = {
    {gkTopMeas, "serProfile", "serNormTopPos", "serNormTopNeg", &TProjectData::QI, false, &kTopSet},
    {gkTopNorm, "serSamplProfile", "serNewNormProfile", "serNewNormNormLine", &TProjectData::QI, false, &kTopSet},
    {gkShortWaves, "serShortwaves", "serNormShortWavesPos", "serNormShortWavesNeg", nullptr, true, &kBand0},
    {gkTrend, "serTrend", "serNormTrendPos", "serNormTrendNeg", nullptr, false, &kTopSet},
    {gkZijMeas, "serZijMeas", "serNormZijPos", "serNormZijNeg", &TProjectData::QIZij, false, &kZijSet},
    {gkZijNorm, "serZijMeas", "serNormZijCalcPos", "serNormZijCalcNeg", &TProjectData::QIZij, false, &kZijSet},
    {gkShortWaves1, "serShortwaves1", "serNormShortWavesPos1", "serNormShortWavesNeg1", nullptr, true, &kBand1},
    {gkShortWaves2, "serShortwaves2", "serNormShortWavesPos2", "serNormShortWavesNeg2", nullptr, true, &kBand2},
    {gkShortWaves3, "serShortwaves3", "serNormShortWavesPos3", "serNormShortWavesNeg3", nullptr, true, &kBand3},
};
// clang-format on

const ReportKind& ReportKindOf(TGraphKind kind) {
    const ReportKind& k = kReportKinds[static_cast<std::size_t>(kind)];
    if (k.kind != kind)
        throw std::logic_error("report kinds out of order");
    return k;
}

// The speed table of the report: line speed and inclination limit A, both as texts.
const std::pair<const char*, const char*> kSpeedTable[] = {
    {"40", "3.2"},  {"60", "2.8"},  {"80", "2.4"},  {"100", "2.2"}, {"120", "2.0"}, {"140", "1.8"},
    {"160", "1.6"}, {"180", "1.4"}, {"200", "1.3"}, {"250", "1.1"}, {"300", "1.0"}};

QRectF RowBox(double left, double right, int row, double height = kRowHeight) {
    return QRectF(left, kRowTop[row], right - left, height);
}

QString Name(const char* prefix, char group, int row) {
    return QString("%1%2%3").arg(prefix).arg(QChar(group)).arg(row);
}

const Group& GroupOf(char letter) {
    return *std::find_if(std::begin(kGroups), std::end(kGroups),
                         [letter](const Group& g) { return g.letter == letter; });
}

// A caption and its value boxes for profile I and II in one row of a group.
void AddRow(ReportPage& page, const Group& g, const QString& captionName, const QString& valueName,
            const QString& caption, int row, double height = kRowHeight) {
    ReportLabel c;
    c.text = caption;
    c.box = RowBox(g.captionLeft, g.valueLeft, row);
    c.bold = g.bold;
    c.shrink = true;
    c.value = valueName;
    page.labels[captionName] = c;

    ReportLabel v;
    v.box = RowBox(g.valueLeft, g.valueRight, row, height);
    v.align = g.align;
    v.bold = g.bold;
    v.lines = height > kRowHeight ? kWrappedLines : 1;
    v.shrink = g.numbers;
    page.labels[valueName] = v;
    v.box = RowBox(g.secondLeft, g.secondRight, row, height);
    v.visible = false;
    page.labels[valueName + kII] = v;
}

QString Caption(const ReportCaptions& captions, const char* key) {
    return captions.texts.value(key);
}

QString Number(const std::string& text) {
    return Q(ostiva::Format5_2(ostiva::ParseDecimal(text)));
}

// Moves a group D label to another row, keeping its column.
void MoveToRow(ReportLabel& label, int row) {
    label.box.moveTop(kRowTop[row]);
}

// The curve of the curves table named `name`, with its legend title from the record.
void SetCurve(ReportSeries& series, const TProjectData& r, const char* name,
              const QString& suffix = {}) {
    const CurveSpec* curve = FindCurve(name);
    series.points = curve->points(r);
    series.title = Q(r.SeriesCaption.count(curve->titleKey) ? r.SeriesCaption.at(curve->titleKey)
                                                            : std::string()) +
                   suffix;
}

// Group C and D values of one profile: `suffix` "" for profile I, "_II" for profile II.
void FillValues(ReportPage& page, const TProjectData& r, const ReportKind& k,
                const QString& suffix) {
    if (const QString a = ReportLimitA(Q(r.Snelheid)); !a.isEmpty())
        page.Label("valLimitA" + suffix).text = a;
    ReportLabel& quality = page.Label("valQI" + suffix);
    if (k.quality) {
        quality.text = Q(r.*k.quality);
        quality.colour = ostiva::ParseDecimal(r.*k.quality) > 1.0 ? QColor(255, 0, 0) : Qt::black;
    } else {
        quality.visible = false;
    }
    page.Label("valSpeed" + suffix).text = Q(r.Snelheid);
    const int count = k.corrugation ? 5 : 4;
    const QString prefix = k.corrugation ? "valW" : "valC";
    for (int row = 1; row <= count; ++row)
        page.Label(prefix + QString::number(row) + suffix).text =
            Number(r.*(*k.parameters)[row - 1]);
    if (k.corrugation) {
        page.Label("valLimitA" + suffix).visible = false;
        for (int row = 1; row <= 4; ++row)
            page.Label("valC" + QString::number(row) + suffix).visible = false;
        for (int row = 1; row <= 5; ++row)
            page.Label("valW" + QString::number(row) + suffix).visible = true;
        MoveToRow(page.Label("valSpeed" + suffix), 1);
    }
}

void FillHeader(ReportPage& page, const TProjectData& r, const QString& suffix) {
    for (const HeaderRow& h : kHeaderRows)
        page.Label(Name("val", h.group, h.row) + suffix).text = Q(r.*h.value);
}

void SingleStep(ReportPage& page, const TProjectData& r, const ReportKind& k) {
    for (int row = 1; row <= 5; ++row) {
        page.Label("capW" + QString::number(row)).visible = false;
        page.Label("valW" + QString::number(row)).visible = false;
    }
    SetCurve(page.Series(1), r, k.curve1);
    SetCurve(page.Series(3), r, k.curve3);
    SetCurve(page.Series(4), r, k.curve4);
    if (!k.quality)
        page.Label("capQI").visible = false;
    if (k.corrugation) {
        page.Label("capLimitA").visible = false;
        for (int row = 1; row <= 4; ++row)
            page.Label("capC" + QString::number(row)).visible = false;
        for (int row = 1; row <= 5; ++row)
            page.Label("capW" + QString::number(row)).visible = true;
        MoveToRow(page.Label("capSpeed"), 1);
    }
    FillValues(page, r, k, {});
    FillHeader(page, r, {});
    page.Label("owner").text = Q(r.Eigenaar);
}

void ComparisonStep(ReportPage& page, const TProjectData& r, const ReportKind& k) {
    page.Series(1).title += " - I";
    for (int row = 1; row <= 5; ++row)
        page.Label("valW" + QString::number(row) + kII).visible = false;
    if (k.kind == gkTopNorm) {
        SetCurve(page.Series(2), r, "serSamplProfile", " - II");
        SetCurve(page.Series(5), r, "serNewNormProfile", " - II");
        page.Series(5).visible = true;
        page.Series(5).width = 2;
        page.Series(3).title += " - I";
        page.Series(3).width = 1;
    } else if (k.kind == gkZijNorm) {
        SetCurve(page.Series(2), r, "serZijMeas", " - II");
        SetCurve(page.Series(7), r, "serNormZijCalcPos", " - II");
        SetCurve(page.Series(8), r, "serNormZijCalcNeg", " - II");
        page.Series(7).visible = true;
        page.Series(8).visible = true;
        page.Series(3).title += " - I";
        page.Series(4).title += " - I";
    } else {
        SetCurve(page.Series(2), r, k.curve1, " - II");
    }
    FillValues(page, r, k, kII);
    FillHeader(page, r, kII);
}

void ScaleAxis(ReportPage& page, TGraphKind kind) {
    double smallest = 0, largest = 0;
    bool any = false;
    for (int number : {1, 2}) {
        const ReportSeries& s = page.Series(number);
        if (number == 2 && !s.visible)
            continue;
        for (const QPointF& p : s.points) {
            smallest = any ? std::min(smallest, p.y()) : p.y();
            largest = any ? std::max(largest, p.y()) : p.y();
            any = true;
        }
    }
    page.axis = ReportAxisScale(kind, LargestMagnitude(smallest, largest, 0));
}

} // namespace

ReportCaptions ReportCaptions::BuiltIn() {
    ReportCaptions c;
    for (const HeaderRow& h : kHeaderRows)
        c.texts[h.captionKey] = h.builtIn;
    for (const ParameterCaption& p : kMeasurementCaptions)
        c.texts[p.key] = p.builtIn;
    for (const ParameterCaption& p : kCorrugationCaptions)
        c.texts[p.key] = p.builtIn;
    return c;
}

ReportCaptions ReportCaptions::Read(const LanguageTexts& language) {
    ReportCaptions c = BuiltIn();
    for (auto it = c.texts.begin(); it != c.texts.end(); ++it)
        it.value() = language.Text("ProjectFormLabels", it.key());
    return c;
}

ReportLabel& ReportPage::Label(const QString& name) {
    const auto it = labels.find(name);
    if (it == labels.end())
        throw std::logic_error("no report label " + name.toStdString());
    return it.value();
}

// Without detaching the shared labels: a drawing that walks them keeps valid iterators.
const ReportLabel& ReportPage::Label(const QString& name) const {
    const auto it = labels.constFind(name);
    if (it == labels.cend())
        throw std::logic_error("no report label " + name.toStdString());
    return it.value();
}

ReportPage NewReportPage(const ReportCaptions& captions) {
    ReportPage page;
    const auto series = [&](int number, QColor colour, int width, bool visible, QString title) {
        page.Series(number) = {title, colour, width, visible, {}};
    };
    series(1, Qt::blue, 1, true, {});
    series(2, QColor(255, 0, 128), 2, false, {});
    series(3, Qt::red, 2, true, "NormPos");
    series(4, Qt::red, 2, true, "NormNeg");
    series(5, QColor(255, 128, 0), 1, false, {});
    series(7, Qt::red, 3, false, {});
    series(8, Qt::red, 3, false, {});
    series(9, Qt::black, 2, true, "0");

    ReportLabel product;
    product.text = "OSTIVA";
    product.box = QRectF(10.6, 2.1, 27.5, 6.5);
    product.pointSize = 14;
    product.bold = true;
    page.labels["product"] = product;
    ReportLabel owner;
    owner.box = QRectF(38.1, 3.2, 262.7 - 38.1, 5.5);
    owner.align = Qt::AlignRight;
    owner.pointSize = 12;
    page.labels["owner"] = owner;
    ReportLabel web;
    web.text = kWebAddress;
    web.box = QRectF(237.1, 182.3, kBandWidthMm - 237.1, kRowHeight);
    page.labels["web"] = web;

    for (const HeaderRow& h : kHeaderRows)
        AddRow(page, GroupOf(h.group), Name("cap", h.group, h.row), Name("val", h.group, h.row),
               Caption(captions, h.captionKey), h.row,
               h.value == &TProjectData::Spoor ? kWrappedHeight : kRowHeight);
    const Group& c = GroupOf('C');
    for (int i = 0; i < 4; ++i)
        AddRow(page, c, Name("cap", 'C', i + 1), Name("val", 'C', i + 1),
               Caption(captions, kMeasurementCaptions[i].key), i + 1);
    for (int i = 0; i < 5; ++i)
        AddRow(page, c, Name("cap", 'W', i + 1), Name("val", 'W', i + 1),
               Caption(captions, kCorrugationCaptions[i].key), i + 1);
    const Group& d = GroupOf('D');
    AddRow(page, d, "capQI", "valQI", "QI", 1);
    AddRow(page, d, "capSpeed", "valSpeed", "V [km/h]", 3);
    AddRow(page, d, "capLimitA", "valLimitA", "A [mrad]", 4);

    for (const Group& g : kGroups) {
        for (const auto& [suffix, left] : {std::pair{"I", g.headFirst}, {"II", g.headSecond}}) {
            ReportLabel head;
            head.text = suffix;
            head.box = RowBox(left, left + kHeadWidth, 0);
            head.align = Qt::AlignHCenter;
            head.bold = true;
            head.visible = false;
            page.labels[QString("head%1%2").arg(QChar(g.letter)).arg(suffix)] = head;
        }
    }
    return page;
}

void ShowComparisonColumns(ReportPage& page) {
    for (auto it = page.labels.begin(); it != page.labels.end(); ++it)
        if (it.key().endsWith(kII) || it.key().startsWith("head"))
            it.value().visible = true;
    for (const HeaderRow& h : kHeaderRows) {
        const Group& g = GroupOf(h.group);
        ReportLabel& first = page.Label(Name("val", h.group, h.row));
        first.box.setLeft(g.firstLeft);
        first.box.setRight(g.firstRight);
    }
}

void FillReport(ReportPage& page, const TProjectData& record, TGraphKind kind,
                const QString& title) {
    page.Label("capLimitA").text = "A [mrad]";
    page.legendVisible = true;
    page.title = title;
    page.Series(9).points += {QPointF(kChartMinX, 0), QPointF(kChartMaxX, 0)};
    const ReportKind& k = ReportKindOf(kind);
    if (page.Series(2).visible)
        ComparisonStep(page, record, k);
    else
        SingleStep(page, record, k);
    ScaleAxis(page, kind);
}

ReportPage SingleReportPage(const ReportCaptions& captions, const TProjectData& record,
                            TGraphKind kind, const QString& title) {
    ReportPage page = NewReportPage(captions);
    FillReport(page, record, kind, title);
    return page;
}

ReportPage ComparisonReportPage(const ReportCaptions& captions, const TProjectData& first,
                                const TProjectData& second, TGraphKind kind, const QString& title) {
    ReportPage page = NewReportPage(captions);
    ShowComparisonColumns(page);
    FillReport(page, first, kind, title);
    page.Series(2).visible = true;
    FillReport(page, second, kind, title);
    return page;
}

QString ReportLimitA(const QString& speed) {
    for (const auto& [v, a] : kSpeedTable)
        if (speed == v)
            return a;
    return {};
}
