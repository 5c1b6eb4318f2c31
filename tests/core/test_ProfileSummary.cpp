#include "core/NormQuality.h"
#include "core/ProfileSummary.h"
#include "core/SummaryText.h"
#include "testdata/ProfileGenerator.h"
#include "testdata/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace ostiva;
using namespace ostiva::testdata;

const std::string kLanguageFile = std::string(OSTIVA_DATA_DIR) + "/ostiva_EN.ini";

// A flat profile of `height` mm: only the first weighted inclination counts (0.3 * h / 25 mm),
// so QI = 12 * height / A; the lateral index is max(posp, 0.1) / L. An empty height or posp
// gives no vertical or lateral samples.
void WriteFlat(const std::string& path, const std::string& speed, const std::string& height,
               const std::string& posp) {
    std::string top, zij;
    for (int k = 0; k < 201 && !height.empty(); ++k)
        top += std::to_string(-500 + 5 * k) + " " + height + "\r\n";
    if (!posp.empty())
        zij = "-500 0.1\r\n-495 0.1\r\n";
    std::ofstream(path, std::ios::binary)
        << "<?xml version=\"1.0\"?>\r\n<METING>\r\n<INFO_MANU SNELHEID=\"" << speed
        << "\"/>\r\n<TOP_MEAS>\r\n"
        << top << "</TOP_MEAS>\r\n<ZIJ_MEAS POSP=\"" << posp << "\" NEGP=\"-0.1\">\r\n"
        << zij << "</ZIJ_MEAS>\r\n</METING>\r\n";
}

TEST(ProfileSummary, CsvFieldsAreQuotedOnlyWhereTheyMustBe) {
    // RFC 4180: a field holding the separator, a quote or a line end is quoted, quotes doubled.
    const struct {
        std::vector<std::string> fields;
        char separator;
        const char* line;
    } cases[] = {
        {{"zq1.xml", " 0.85", ""}, ',', "zq1.xml, 0.85,\r\n"},
        {{"a;b", "c,d"}, ';', "\"a;b\";c,d\r\n"},
        {{"a;b", "c,d"}, ',', "a;b,\"c,d\"\r\n"},
        {{"say \"hi\"", "two\nlines", "cr\r"},
         ',',
         "\"say \"\"hi\"\"\",\"two\nlines\",\"cr\r\"\r\n"},
        {{"bad \xFF byte"}, ',', "bad \xEF\xBF\xBD byte\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvLine(c.fields, c.separator), c.line) << c.line;
}

TEST(ProfileSummary, VerdictComparesTheTextsAsTheyRead) {
    const struct {
        const char *qi, *qiZij;
        int top, zij;
        Verdict verdict;
    } cases[] = {
        {" 1.00", " 1.00", 1, 1, Verdict::Within},  {" 1.01", " 0.10", 1, 1, Verdict::Outside},
        {" 0.10", " 1.01", 1, 1, Verdict::Outside}, {"", " 0.10", 0, 1, Verdict::NoAssessment},
        {" 0.10", "", 1, 0, Verdict::NoAssessment}, {" 0.00", " 0.00", 0, 1, Verdict::NoAssessment},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JudgeIndices(c.qi, c.top, c.qiZij, c.zij), c.verdict) << c.qi << "|" << c.qiZij;
    EXPECT_STREQ(VerdictText(Verdict::Within), "within");
    EXPECT_STREQ(VerdictText(Verdict::Outside), "outside");
    EXPECT_STREQ(VerdictText(Verdict::NoAssessment), "no assessment");
}

TEST(ProfileSummary, HandWorkedVerdictsAndHighestSpeeds) {
    ScopedTempDir dir;
    const struct {
        const char *name, *speed, *height, *posp;
        const char *qi, *qiZij;
        Verdict verdict;
        std::optional<int> maxSpeed;
    } cases[] = {
        // At 80: QI 12 * 0.2 / 2.4 = 1.00, lateral 0.35 / 0.7 = 0.50; at 100 QI 1.09.
        {"zq1.xml", "80", "0.2", "0.35", " 1.00", " 0.50", Verdict::Within, 80},
        // At 300: QI 0.6 / 1.0 = 0.60, lateral 0.5 / 0.5 = 1.00.
        {"zq2.xml", "300", "0.05", "0.5", " 0.60", " 1.00", Verdict::Within, 300},
        // Already at 40: QI 3.6 / 3.2 = 1.13.
        {"zq3.xml", "40", "0.3", "0.2", " 1.13", " 0.20", Verdict::Outside, std::nullopt},
        // Lateral 1.2 / 1.0 at 40.
        {"zq4.xml", "40", "0.05", "1.2", " 0.19", " 1.20", Verdict::Outside, std::nullopt},
        // No samples at all, or no lateral ones.
        {"zq5.xml", "120", "", "", "", "", Verdict::NoAssessment, std::nullopt},
        {"zq6.xml", "120", "0.05", "", " 0.30", "", Verdict::NoAssessment, std::nullopt},
        // 90 is no table speed: no index there, the table speeds are still judged (0.60 and
        // 0.40 at 300).
        {"zq7.xml", "90", "0.05", "0.2", "", "", Verdict::NoAssessment, 300},
    };
    std::vector<std::string> names;
    for (const auto& c : cases) {
        WriteFlat(dir.File(c.name), c.speed, c.height, c.posp);
        names.push_back(c.name);
    }
    names.push_back("zq_missing.xml");
    const auto rows = SummarizeProfiles(dir.Path(), names, "", kLanguageFile);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), names.size());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const SummaryRow& row = (*rows)[i];
        SCOPED_TRACE(row.File);
        EXPECT_EQ(row.File, cases[i].name);
        EXPECT_EQ(row.QI, cases[i].qi);
        EXPECT_EQ(row.QIZij, cases[i].qiZij);
        EXPECT_EQ(row.verdict, cases[i].verdict);
        EXPECT_EQ(row.MaxSpeed, cases[i].maxSpeed);
        EXPECT_TRUE(row.loaded);
    }
    EXPECT_EQ((*rows)[6].error, "Floating point division by zero");
    const SummaryRow& missing = rows->back();
    EXPECT_FALSE(missing.loaded);
    EXPECT_NE(missing.error.find("load error"), std::string::npos);
    EXPECT_EQ(missing.verdict, Verdict::NoAssessment);
    EXPECT_FALSE(missing.MaxSpeed);

    // The profile of 90 km/h judged at 300: no message left, within.
    const SummaryRow at300 = RowAtTableSpeed((*rows)[6], 10);
    EXPECT_EQ(at300.Snelheid, "300");
    EXPECT_EQ(at300.QI, " 0.60");
    EXPECT_EQ(at300.QIZij, " 0.40");
    EXPECT_EQ(at300.verdict, Verdict::Within);
    EXPECT_EQ(at300.error, "");
}

// Every table speed's indices, verdict and Snelheid agree with the record built at that speed,
// for generated profiles; the chosen speed and the number of workers do not change the rows.
TEST(ProfileSummary, TableSpeedsAgreeWithTheRecordBuiltAtThatSpeed) {
    ScopedTempDir dir;
    std::vector<std::string> names;
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        GeneratorOptions o;
        o.seed = seed;
        o.speed = seed == 6 ? "90" : "80";
        names.push_back("zq" + std::to_string(seed) + ".xml");
        WriteProfileFile(dir.File(names.back()), o);
    }
    const auto own = SummarizeProfiles(dir.Path(), names, "", kLanguageFile, {}, 1);
    ASSERT_TRUE(own);
    for (std::size_t s = 0; s < kSpeedTable.size(); ++s) {
        const std::string speed = std::to_string(kSpeedTable[s].speed);
        const auto chosen = SummarizeProfiles(dir.Path(), names, speed, kLanguageFile, {}, 2);
        ASSERT_TRUE(chosen);
        for (std::size_t i = 0; i < names.size(); ++i) {
            SCOPED_TRACE(names[i] + " at " + speed);
            const TProjectData record(dir.File(names[i]), speed, kLanguageFile);
            const SummaryRow row = RowAtTableSpeed((*own)[i], s);
            const SummaryRow& direct = (*chosen)[i];
            ASSERT_FALSE(record.QI.empty());
            for (const SummaryRow* r : {&row, &direct}) {
                EXPECT_EQ(r->QI, record.QI);
                EXPECT_EQ(r->QIZij, record.QIZij);
                EXPECT_EQ(r->Snelheid, record.Snelheid);
                EXPECT_EQ(r->error, record.Error);
                EXPECT_EQ(r->verdict, row.verdict);
                EXPECT_EQ(r->MaxSpeed, (*own)[i].MaxSpeed);
            }
        }
    }
}

TEST(ProfileSummary, ProgressCancels) {
    ScopedTempDir dir;
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) {
        names.push_back("zq" + std::to_string(i) + ".xml");
        WriteProfileFile(dir.File(names.back()), {});
    }
    std::size_t calls = 0;
    const auto rows = SummarizeProfiles(dir.Path(), names, "", kLanguageFile,
                                        [&](std::size_t, std::size_t) { return ++calls > 1000; });
    EXPECT_FALSE(rows);
    EXPECT_GE(calls, 1u);
}

} // namespace
