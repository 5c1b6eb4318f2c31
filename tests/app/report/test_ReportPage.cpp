// The printed page: the report's axis rule, and where the texts stand in the PDF it writes,
// read back with pdftotext.
#include "app/chart/AxisRule.h"
#include "app/report/ReportPage.h"
#include "app/report/TfrmReport.h"
#include "core/ProjectData.h"
#include "testdata/ProfileGenerator.h"
#include "testdata/TestFiles.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using namespace ostiva;

const std::string kLanguage = OSTIVA_DATA_DIR "/ostiva_EN.ini";

struct Word {
    QString text;
    double left, top, right; // mm from the sheet's top-left corner
};

// The words of page `page` of the PDF, with their boxes in millimetres.
QList<Word> PdfWords(const QByteArray& pdf, int page = 1) {
    testdata::ScopedTempDir dir;
    const QString path = QString::fromStdString(dir.File("page.pdf"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pdf);
    file.close();
    QProcess p;
    p.start("pdftotext",
            {"-bbox", "-f", QString::number(page), "-l", QString::number(page), path, "-"});
    EXPECT_TRUE(p.waitForFinished(20000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
    QList<Word> words;
    const double mm = 25.4 / 72;
    for (const auto& m : word.globalMatch(html))
        words.append({m.captured(4).replace("&amp;", "&"), m.captured(1).toDouble() * mm,
                      m.captured(2).toDouble() * mm, m.captured(3).toDouble() * mm});
    return words;
}

QList<Word> Find(const QList<Word>& words, const QString& text) {
    QList<Word> found;
    for (const Word& w : words)
        if (w.text == text)
            found.append(w);
    return found;
}

QString AllText(const QList<Word>& words) {
    QStringList texts;
    for (const Word& w : words)
        texts.append(w.text);
    return texts.join(' ');
}

// The page band starts 10 mm inside the sheet; rows have their tops at the grid's row tops.
constexpr double kBand = 10;
constexpr double kRow0 = 139.7, kRow1 = 146.1, kRow3 = 158.8;

testdata::GeneratorOptions Profile(const std::string& weld, const std::string& speed,
                                   const std::string& owner = "Spoorbouw") {
    testdata::GeneratorOptions o;
    o.speed = speed;
    testdata::ProfileHeader h;
    h.lasNr = weld;
    h.plaats = "Utrecht";
    h.eigenaar = owner;
    h.datum = "01-02-2026";
    h.tijd = "10:00:00";
    h.device = "D1";
    h.spoor = "Spoor-7";
    h.km = "60E1";
    h.rail = "Links";
    h.lasType = "TW";
    h.lasSer = "Jansen";
    h.werkNummer = "J1";
    h.wissel = "W1";
    o.header = h;
    o.omit = {"TOP_MEAS/POSP"}; // prints as 0.00
    return o;
}

class ReportPageTest : public ::testing::Test {
  protected:
    TProjectData Record(const std::string& name, const std::string& weld,
                        const std::string& speed = "160", const std::string& owner = "Spoorbouw") {
        const std::string path = dir_.File(name);
        testdata::WriteProfileFile(path, Profile(weld, speed, owner));
        return TProjectData(path, "", kLanguage);
    }
    testdata::ScopedTempDir dir_;
};

void ExpectNear(double actual, double expected, const char* what) {
    EXPECT_NEAR(actual, expected, 0.5) << what;
}

TEST(ReportAxisRule, TopMeasFollowsTheCurveEveryOtherKindIsFixed) {
    const auto expect = [](TGraphKind kind, double m, double range, int minors) {
        const AxisScale s = ReportAxisScale(kind, m);
        EXPECT_EQ(s.range, range) << kind << " at " << m;
        EXPECT_EQ(s.minorCount, minors) << kind << " at " << m;
    };
    expect(gkTopMeas, 1.0, 1, 9);
    expect(gkTopMeas, 1.5, 2, 4);
    expect(gkTopMeas, 2.0, 2, 4);
    expect(gkTopMeas, 2.5, 2, 1);
    for (double m : {0.0, 0.01, 5.0}) {
        expect(gkTopNorm, m, 2, 1);
        expect(gkZijNorm, m, 2, 1);
        expect(gkShortWaves1, m, 0.06, 1);
        expect(gkTrend, m, 2, 1);
        expect(gkZijMeas, m, 2, 1);
        expect(gkShortWaves, m, 0.3, 1);
        expect(gkShortWaves2, m, 0.2, 1);
        expect(gkShortWaves3, m, 0.4, 1);
    }
}

TEST(ReportSpeedTable, LooksUpTheExactText) {
    EXPECT_EQ(ReportLimitA("160"), "1.6");
    EXPECT_EQ(ReportLimitA("40"), "3.2");
    EXPECT_EQ(ReportLimitA("300"), "1.0");
    EXPECT_EQ(ReportLimitA("160.0"), "");
    EXPECT_EQ(ReportLimitA(" 160"), "");
}

TEST_F(ReportPageTest, SinglePageTextsStandWhereTheLayoutPutsThem) {
    TProjectData r = Record("zq1.xml", "W-17");
    r.QI = "1.37";
    const QList<Word> words =
        PdfWords(ReportPdf({SingleReportPage(ReportCaptions::BuiltIn(), r, gkTopMeas, "Top")}));

    ASSERT_EQ(Find(words, "OSTIVA").size(), 1);
    ExpectNear(Find(words, "OSTIVA")[0].left, kBand + 10.6, "product name");
    ExpectNear(Find(words, "OSTIVA")[0].top, kBand + 2.1, "product name top");
    ASSERT_EQ(Find(words, "Spoorbouw").size(), 1);
    ExpectNear(Find(words, "Spoorbouw")[0].right, kBand + 262.7, "owner, right-aligned");
    ASSERT_EQ(Find(words, "W-17").size(), 1); // group A row 1
    ExpectNear(Find(words, "W-17")[0].left, kBand + 26.2, "weld number");
    ExpectNear(Find(words, "W-17")[0].top, kBand + kRow1, "weld number top");
    ASSERT_EQ(Find(words, "Utrecht").size(), 1); // group B row 1
    ExpectNear(Find(words, "Utrecht")[0].left, kBand + 136.8, "location");
    ASSERT_EQ(Find(words, "0.00").size(), 1); // group C row 1: the missing POSP
    ExpectNear(Find(words, "0.00")[0].right, kBand + 231.5, "pos. versine, right-aligned");
    ExpectNear(Find(words, "0.00")[0].top, kBand + kRow1, "pos. versine top");
    ASSERT_EQ(Find(words, "1.37").size(), 1); // group D row 1
    ExpectNear(Find(words, "1.37")[0].right, kBand + 264.6, "quality, right-aligned");
    ExpectNear(Find(words, "1.37")[0].top, kBand + kRow1, "quality top");
    ASSERT_EQ(Find(words, "1.6").size(), 1); // A of 160 km/h, row 4
    ExpectNear(Find(words, "160")[0].top, kBand + kRow3, "speed in row 3");
}

TEST_F(ReportPageTest, EveryRowOfTheSinglePageStandsInItsGroupAndRow) {
    TProjectData r = Record("zq1.xml", "W-17");
    r.TopPosP = "1.234";
    r.TopNegP = "-0.5";
    r.TopPosH = "2";
    r.TopNegH = "not found";
    r.QI = "0.87";
    const QList<Word> words =
        PdfWords(ReportPdf({SingleReportPage(ReportCaptions::BuiltIn(), r, gkTopMeas, "Top")}));
    // Row tops of the value grid, rows 1 to 7.
    const double rowTop[] = {0, 146.1, 152.4, 158.8, 164.8, 171.2, 177.5, 183.9};
    const struct {
        const char* caption; // its first word
        const char* value;   // the whole value, one word
        int row;
        double captionLeft, valueEdge; // the value's left edge, or its right edge when right
        bool right;
    } rows[] = {
        {"Weld", "W-17", 1, 0, 26.2, false},
        {"Serial", "D1", 2, 0, 26.2, false},
        {"Report:", "zq1.xml", 3, 0, 26.2, false},
        {"Date:", "01-02-2026", 4, 0, 26.2, false},
        {"Time:", "10:00:00", 5, 0, 26.2, false},
        {"Job", "J1", 6, 0, 26.2, false},
        {"Operator:", "Jansen", 7, 0, 26.2, false},
        {"Location", "Utrecht", 1, 113.8, 136.8, false},
        {"Rail", "60E1", 2, 113.8, 136.8, false},
        {"Rail", "Links", 3, 113.8, 136.8, false},
        {"Weld", "TW", 4, 113.8, 136.8, false},
        {"Switch", "W1", 5, 113.8, 136.8, false},
        {"Track:", "Spoor-7", 6, 113.8, 136.8, false},
        {"Pos.", "1.23", 1, 187.1, 231.5, true},
        {"Neg.", "-0.50", 2, 187.1, 231.5, true},
        {"Pos.", "2.00", 3, 187.1, 231.5, true},
        {"Neg.", "0.00", 4, 187.1, 231.5, true},
        {"QI", "0.87", 1, 243.2, 264.6, true},
        {"V", "160", 3, 243.2, 264.6, true},
        {"A", "1.6", 4, 243.2, 264.6, true},
    };
    const auto at = [&](const char* text, double top) -> QList<Word> {
        QList<Word> found;
        for (const Word& w : Find(words, text))
            if (std::abs(w.top - (kBand + top)) < 0.5)
                found.append(w);
        return found;
    };
    for (const auto& row : rows) {
        const QList<Word> value = at(row.value, rowTop[row.row]);
        ASSERT_EQ(value.size(), 1) << row.value << " in row " << row.row;
        ExpectNear(row.right ? value[0].right : value[0].left, kBand + row.valueEdge, row.value);
        const QList<Word> caption = at(row.caption, rowTop[row.row]);
        const bool captionThere = std::any_of(caption.begin(), caption.end(), [&](const Word& w) {
            return std::abs(w.left - (kBand + row.captionLeft)) < 0.5;
        });
        EXPECT_TRUE(captionThere) << row.caption << " in row " << row.row;
    }
}

TEST_F(ReportPageTest, LateralKindsShowTheZijMeasurementSetAndQuality) {
    TProjectData r = Record("zq1.xml", "W-17");
    r.TopPosP = r.TopNegP = r.TopPosH = r.TopNegH = "9";
    r.ZijPosP = "0.35";
    r.ZijNegP = "-0.6";
    r.ZijPosH = "1.005e1";
    r.ZijNegH = "abc";
    r.QI = "0.10";
    r.QIZij = "1.20";
    const ReportCaptions captions = ReportCaptions::BuiltIn();
    for (TGraphKind kind : {gkZijMeas, gkZijNorm}) {
        ReportPage page = SingleReportPage(captions, r, kind, "Zij");
        EXPECT_EQ(page.Label("valC1").text, " 0.35") << kind;
        EXPECT_EQ(page.Label("valC2").text, "-0.60") << kind;
        EXPECT_EQ(page.Label("valC3").text, "10.05") << kind;
        EXPECT_EQ(page.Label("valC4").text, " 0.00") << kind;
        EXPECT_EQ(page.Label("capC1").text, "Pos. versine [mm]:") << kind;
        EXPECT_EQ(page.Label("valQI").text, "1.20") << kind;
        EXPECT_EQ(page.Label("valQI").colour, QColor(255, 0, 0)) << kind;
        // Profile II of a comparison page takes the same set in its own column.
        page = ComparisonReportPage(captions, r, r, kind, "Zij");
        EXPECT_EQ(page.Label("valC1_II").text, " 0.35") << kind;
        EXPECT_EQ(page.Label("valC4_II").text, " 0.00") << kind;
        EXPECT_TRUE(page.Label("valC3_II").visible) << kind;
    }
}

TEST_F(ReportPageTest, AProfileWithoutSamplesPrintsNoQuality) {
    testdata::GeneratorOptions o = Profile("W-17", "160");
    o.omit = {"TOP_MEAS"};
    const std::string path = dir_.File("zq1.xml");
    testdata::WriteProfileFile(path, o);
    const TProjectData r(path, "", kLanguage);
    const QList<Word> words =
        PdfWords(ReportPdf({SingleReportPage(ReportCaptions::BuiltIn(), r, gkTopMeas, "Top")}));
    ASSERT_EQ(Find(words, "QI").size(), 1); // the caption stays
    for (const Word& w : words)
        EXPECT_FALSE(std::abs(w.top - (kBand + kRow1)) < 0.5 &&
                     std::abs(w.right - (kBand + 264.6)) < 0.5)
            << w.text.toStdString() << " where the quality would stand";
}

TEST_F(ReportPageTest, QualityIsRedOnlyAboveOne) {
    TProjectData r = Record("zq1.xml", "W-17");
    for (const auto& [qi, red] : {std::pair{"1.00", false}, {"1.01", true}, {"0.5", false}}) {
        r.QI = qi;
        const ReportPage page = SingleReportPage(ReportCaptions::BuiltIn(), r, gkTopMeas, "Top");
        EXPECT_EQ(page.Label("valQI").text, qi);
        EXPECT_EQ(page.Label("valQI").colour == QColor(255, 0, 0), red) << qi;
    }
}

TEST_F(ReportPageTest, ShortWavePageShowsOnlyTheSpeedInGroupDRowOne) {
    const TProjectData r = Record("zq1.xml", "W-17");
    const QList<Word> words =
        PdfWords(ReportPdf({SingleReportPage(ReportCaptions::BuiltIn(), r, gkShortWaves1, "SW1")}));
    ASSERT_EQ(Find(words, "[km/h]").size(), 1);
    ExpectNear(Find(words, "[km/h]")[0].top, kBand + kRow1, "V caption in row 1");
    ASSERT_EQ(Find(words, "160").size(), 1);
    ExpectNear(Find(words, "160")[0].top, kBand + kRow1, "speed in row 1");
    ExpectNear(Find(words, "160")[0].right, kBand + 264.6, "speed right-aligned");
    EXPECT_TRUE(Find(words, "QI").isEmpty());
    EXPECT_TRUE(Find(words, "[mrad]").isEmpty());
    EXPECT_TRUE(Find(words, "1.6").isEmpty());
    EXPECT_TRUE(Find(words, "inclination").isEmpty()); // the measurement set is hidden
    EXPECT_EQ(Find(words, "Loss").size(), 1);          // the corrugation set shows
}

TEST_F(ReportPageTest, TrendPageHasNoQualityButSpeedAndLimit) {
    const TProjectData r = Record("zq1.xml", "W-17");
    const ReportPage page = SingleReportPage(ReportCaptions::BuiltIn(), r, gkTrend, "Trend");
    EXPECT_FALSE(page.Label("capQI").visible);
    EXPECT_FALSE(page.Label("valQI").visible);
    EXPECT_TRUE(page.Label("valSpeed").visible);
    EXPECT_EQ(page.Label("valLimitA").text, "1.6");
    EXPECT_EQ(page.axis.range, 2);
}

TEST_F(ReportPageTest, ComparisonPageHasTwoColumnsHeadsAndLegend) {
    const TProjectData first = Record("zq1.xml", "W-17", "160");
    const TProjectData second = Record("zq2.xml", "W-99", "80");
    const ReportPage page =
        ComparisonReportPage(ReportCaptions::BuiltIn(), first, second, gkTopMeas, "Top");
    const QList<Word> words = PdfWords(ReportPdf({page}));

    ExpectNear(Find(words, "W-17").value(0).left, kBand + 26.2, "weld number I");
    ExpectNear(Find(words, "W-99").value(0).left, kBand + 70.2, "weld number II");
    ExpectNear(Find(words, "80").value(0).right, kBand + 275.6, "speed II");
    ExpectNear(Find(words, "2.4").value(0).right, kBand + 275.6, "A of 80 km/h, II");
    // Column heads centred in their 6.6 mm boxes, in row 0.
    const QList<Word> heads = Find(words, "I") + Find(words, "II");
    const double centres[] = {45.5, 88.9, 140.5, 168.0, 223.6, 233.6, 256.6, 266.2};
    for (double left : centres) {
        const double centre = kBand + left + 3.3;
        const bool found = std::any_of(heads.begin(), heads.end(), [&](const Word& w) {
            return std::abs((w.left + w.right) / 2 - centre) < 0.5 &&
                   std::abs(w.top - (kBand + kRow0)) < 1.0;
        });
        EXPECT_TRUE(found) << "column head at " << left;
    }
    const QString profile = QString::fromStdString(first.SeriesCaption.at("serProfile"));
    const QString limit = QString::fromStdString(first.SeriesCaption.at("serNormTopPos"));
    const QString text = AllText(words);
    EXPECT_TRUE(text.contains(profile + " - I ")) << text.toStdString();
    EXPECT_TRUE(text.contains(profile + " - II")) << text.toStdString();
    EXPECT_TRUE(text.contains(limit + " ")) << "limit line once, plain";
    EXPECT_FALSE(text.contains(limit + " - I")) << text.toStdString();
    EXPECT_EQ(Find(words, "Spoorbouw").size(), 1); // profile I's owner only
}

TEST_F(ReportPageTest, TheComparisonPagePrintsProfileOnesOwnerOnly) {
    const TProjectData first = Record("zq1.xml", "W-17", "160", "Spoorbouw");
    const TProjectData second = Record("zq2.xml", "W-99", "160", "Railinfra");
    const ReportPage page =
        ComparisonReportPage(ReportCaptions::BuiltIn(), first, second, gkTopMeas, "Top");
    EXPECT_EQ(page.Label("owner").text, "Spoorbouw");
    const QList<Word> words = PdfWords(ReportPdf({page}));
    ASSERT_EQ(Find(words, "Spoorbouw").size(), 1);
    ExpectNear(Find(words, "Spoorbouw")[0].right, kBand + 262.7, "owner, right-aligned");
    EXPECT_TRUE(Find(words, "Railinfra").isEmpty());
}

TEST_F(ReportPageTest, ComparisonTopNormAndZijNormShowSecondLimits) {
    const TProjectData first = Record("zq1.xml", "W-17");
    const TProjectData second = Record("zq2.xml", "W-99");
    const ReportCaptions c = ReportCaptions::BuiltIn();
    const ReportPage norm = ComparisonReportPage(c, first, second, gkTopNorm, "Norm");
    EXPECT_TRUE(norm.Series(5).visible);
    EXPECT_EQ(norm.Series(5).width, 2);
    EXPECT_EQ(norm.Series(3).width, 1);
    EXPECT_TRUE(norm.Series(3).title.endsWith(" - I"));
    EXPECT_EQ(norm.Series(2).points.size(), 41);
    const ReportPage zij = ComparisonReportPage(c, first, second, gkZijNorm, "Zij");
    EXPECT_TRUE(zij.Series(7).visible && zij.Series(8).visible);
    EXPECT_TRUE(zij.Series(7).title.endsWith(" - II"));
    EXPECT_TRUE(zij.Series(4).title.endsWith(" - I"));
    EXPECT_FALSE(zij.Series(5).visible);
}

TEST_F(ReportPageTest, CompositeHasOneSheetPerPage) {
    const TProjectData r = Record("zq1.xml", "W-17");
    const ReportPage page = SingleReportPage(ReportCaptions::BuiltIn(), r, gkTopMeas, "Top");
    const QByteArray pdf = ReportPdf({page, page, page});
    EXPECT_EQ(Find(PdfWords(pdf, 3), "OSTIVA").size(), 1);
    EXPECT_TRUE(PdfWords(pdf, 4).isEmpty());
}

} // namespace

namespace {

// The trend page's fixed ±2 mm cut a 2.5 mm peak; its value is printed at the top edge beside
// the peak (plot: 26.4 mm from the sheet's left, 257.1 mm wide, top edge 28.7 mm down); the
// page is drawn at its own range, from the record, never from a window's zoomed chart.
TEST_F(ReportPageTest, APeakBeyondTheFixedRangeIsMarkedWithItsValue) {
    TProjectData r = Record("zq1.xml", "W-17");
    for (int k = 1; k <= kSampleCount; ++k)
        r.Trend[k] = 0.1;
    r.Trend[101] = 2.5; // x = 0
    const ReportPage page = SingleReportPage(ReportCaptions::BuiltIn(), r, gkTrend, "Trend");
    ASSERT_EQ(page.axis.range, 2);
    const QList<Word> marks = Find(PdfWords(ReportPdf({page})), "2.50");
    ASSERT_EQ(marks.size(), 1) << AllText(PdfWords(ReportPdf({page}))).toStdString();
    const double peakX = 26.4 + 257.1 / 2;
    EXPECT_GT(marks[0].left, peakX);
    EXPECT_LT(marks[0].left, peakX + 6);
    EXPECT_GT(marks[0].top, 28.7);
    EXPECT_LT(marks[0].top, 28.7 + 5);
}

} // namespace
