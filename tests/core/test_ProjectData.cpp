#include "core/IniFile.h"
#include "core/NumberText.h"
#include "core/ProjectData.h"
#include "testdata/ProfileGenerator.h"
#include "testdata/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>

namespace {

using namespace ostiva;
using namespace ostiva::testdata;
namespace fs = std::filesystem;

const char* const kLanguageText = "[ProjectFormLabels]\r\n"
                                  "edtNormTopPos=0.3\r\nedtNormTopNeg=-0.3\r\n"
                                  "edtNormTrendPos=0.25\r\nedtNormTrendNeg=-0.25\r\n"
                                  "edtNormShortWavesPos=0.02\r\nedtNormShortWavesNeg=-0.02\r\n"
                                  "edtNormShortWavesPos1=0.01\r\nedtNormShortWavesNeg1=-0.01\r\n"
                                  "edtNormShortWavesPos2=0.015\r\nedtNormShortWavesNeg2=-0.015\r\n"
                                  "edtNormShortWavesPos3=0.03\r\nedtNormShortWavesNeg3=-0.03\r\n"
                                  "edtNormZijPos=0.4\r\nedtNormZijNeg=-0.4\r\n";

// Every caption but serTrend's, each its key followed by " caption".
std::string LanguageFileText() {
    std::string text = kLanguageText;
    text += "[ChartSeriesNames]\r\n";
    for (const char* key : kSeriesKeys)
        if (std::string(key) != "serTrend")
            text += std::string(key) + "=" + key + " caption\r\n";
    return text;
}

// "position value" lines for positions -500, -495, ...
std::string PairList(int pairs, const std::function<double(int)>& value) {
    std::string list = "\r\n";
    for (int k = 0; k < pairs; ++k)
        list += std::to_string(-500 + 5 * k) + " " + FormatFixed(value(k), 5) + "\r\n";
    return list;
}

// A small profile file with every element; `infoManu` holds INFO_MANU's attributes.
std::string HandProfile(const std::string& topList,
                        const std::string& infoManu = "PLAATS=\"Breevelt\" SNELHEID=\"80\"",
                        const std::string& zijAttributes = "POSP=\"0.35\" NEGP=\"-0.6\"") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<METING>\r\n"
           "<INFO_AUTO DEVICE=\"04127\" DATUM=\"03-02-2026\" TIJD=\"09:15:00\" "
           "EIGENAAR=\"RW\"/>\r\n"
           "<INFO_MANU " +
           infoManu + "/>\r\n<TOP_MEAS POSP=\"0.1\" NEGP=\"0\" POSH=\"1\" NEGH=\"-1\">" + topList +
           "</TOP_MEAS>\r\n<TREND>" + topList +
           "</TREND>\r\n<SHORT_WAVES GA=\"1\" GG=\"2\" GSD=\"3\">" + topList +
           "</SHORT_WAVES>\r\n<ZIJ_MEAS " + zijAttributes + ">" + topList +
           "</ZIJ_MEAS>\r\n<TOP_QUALITY QI=\"\" NORM=\"\"/>\r\n"
           "<ZIJ_QUALITY QI_POSP_ZIJ=\"0.00\" QI_NEGP_ZIJ=\"0.00\"/>\r\n"
           "<TOP_DX_DY>0</TOP_DX_DY>\r\n</METING>\r\n";
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

class ProjectDataTest : public ::testing::Test {
  protected:
    void SetUp() override {
        language = dir.File("ostiva_EN.ini");
        WriteFileBytes(language, LanguageFileText());
    }
    std::string Write(const std::string& bytes, const std::string& name = "zq1.xml") {
        const std::string path = dir.File(name);
        WriteFileBytes(path, bytes);
        return path;
    }
    std::unique_ptr<TProjectData> Build(const std::string& path, const std::string& speed = "") {
        return std::make_unique<TProjectData>(path, speed, language);
    }
    std::unique_ptr<TProjectData> BuildFrom(const std::string& bytes,
                                            const std::string& speed = "") {
        return Build(Write(bytes), speed);
    }

    ScopedTempDir dir;
    std::string language;
};

TEST_F(ProjectDataTest, AGeneratedFileFillsEveryField) {
    GeneratorOptions o;
    o.seed = 7;
    const GeneratedProfile p = GenerateProfile(o);
    const auto r = BuildFrom(GenerateProfileXml(o), "");

    EXPECT_EQ(r->Error, "");
    EXPECT_EQ(r->FileName, "zq1.xml");
    const ProfileHeader& h = p.header;
    EXPECT_EQ(r->Device, h.device);
    EXPECT_EQ(r->Datum, h.datum);
    EXPECT_EQ(r->Tijd, h.tijd);
    EXPECT_EQ(r->Eigenaar, h.eigenaar);
    EXPECT_EQ(r->Plaats, h.plaats);
    EXPECT_EQ(r->Spoor, h.spoor);
    EXPECT_EQ(r->Km, h.km);
    EXPECT_EQ(r->Rail, h.rail);
    EXPECT_EQ(r->LasType, h.lasType);
    EXPECT_EQ(r->LasSer, h.lasSer);
    EXPECT_EQ(r->LasNr, h.lasNr);
    EXPECT_EQ(r->WerkNummer, h.werkNummer);
    EXPECT_EQ(r->Wissel, h.wissel);
    EXPECT_EQ(r->Snelheid, "80");
    EXPECT_EQ(r->TopPosP, p.topPosP);
    EXPECT_EQ(r->TopNegH, p.topNegH);
    EXPECT_EQ(r->ZijPosP, p.zijPosP);
    EXPECT_EQ(r->ZijNegH, p.zijNegH);

    EXPECT_EQ(r->TopMeas[0], 0.0);
    for (int k = 0; k < 201; ++k) {
        EXPECT_DOUBLE_EQ(r->TopMeas[k + 1], p.topMeas[k]) << k;
        EXPECT_DOUBLE_EQ(r->Trend[k + 1], p.trend[k]) << k;
        EXPECT_DOUBLE_EQ(r->ShortWaves[k + 1], p.shortWaves[k]) << k;
        EXPECT_DOUBLE_EQ(r->ZijMeas[k + 1], p.zijMeas[k]) << k;
        EXPECT_EQ(r->PosX[k], -500.0 + 5 * k);
    }
    EXPECT_EQ(r->ShortWaves1[0], 0.0);
    EXPECT_NE(r->ShortWaves1[100], 0.0);

    for (const std::string* text : {&r->ShortWavesGG, &r->ShortWavesGSD3, &r->ShortWavesLoss2})
        EXPECT_EQ(text->size(), 23u) << *text;

    EXPECT_EQ(r->NormTopPos[200], 0.3);
    EXPECT_EQ(r->NormTrendNeg[0], -0.25);
    EXPECT_EQ(r->NormShortWavesPos2[7], 0.015);
    EXPECT_EQ(r->NormShortWavesNeg3Text, "-0.03");
    EXPECT_EQ(r->NormZijNeg[100], -0.4);
    EXPECT_EQ(r->SeriesCaption.size(), 20u);
    EXPECT_EQ(r->SeriesCaption.at("serProfile"), "serProfile caption");
    EXPECT_EQ(r->SeriesCaption.at("serTrend"), "Error");

    EXPECT_EQ(r->Norm, "2.40");
    EXPECT_EQ(r->QI.size(), 5u);
    EXPECT_EQ(r->QIZij.size(), 5u);
    EXPECT_EQ(r->NormZijCalcPos[0], 0.7);
    EXPECT_EQ(r->NormZijCalcNeg[200], -0.7);
    EXPECT_EQ(r->NewNormX[0], -500.0);
    EXPECT_EQ(r->NewNormX[1], -487.5);
    EXPECT_EQ(r->SamplX[40], 500.0);
    EXPECT_EQ(r->NewNormNormLine[20], 1.0);
}

TEST_F(ProjectDataTest, QualityOfKnownProfiles) {
    // A flat profile of 0.1 mm: only the first segment rises, weighted 0.3.
    auto r = BuildFrom(HandProfile(PairList(201, [](int) { return 0.1; })), "120");
    EXPECT_EQ(r->QI, " 0.60");
    EXPECT_EQ(r->Norm, "2.00");

    r = BuildFrom(HandProfile(PairList(201, [](int) { return 0.0; })));
    EXPECT_EQ(r->Error, "");
    EXPECT_EQ(r->QI, " 0.00");
    EXPECT_EQ(r->Norm, "2.40");
    EXPECT_EQ(r->NormZijCalcPos[3], 0.7);

    r = BuildFrom(HandProfile(PairList(201, [](int) { return 0.0; })), "160");
    EXPECT_EQ(r->QIZij, " 1.20");
}

TEST_F(ProjectDataTest, AListWithoutSamplesHasNoQualityIndex) {
    // At 160 km/h the lateral index of POSP 0.35 / NEGP -0.6 is 0.6 / 0.5 = 1.20.
    const std::string zijAt160 = "SNELHEID=\"160\"";
    const std::string noSamples = HandProfile("\r\n", zijAt160);
    const struct {
        const char* what;
        std::string xml;
        const char* qi;
        const char* qiZij;
    } cases[] = {
        {"neither list", noSamples, "", ""},
        {"no vertical", Replace(noSamples, "\r\n</ZIJ_MEAS>", "-500 0.2\r\n</ZIJ_MEAS>"), "",
         " 1.20"},
        {"no lateral", Replace(noSamples, "\r\n</TOP_MEAS>", "-500 0\r\n</TOP_MEAS>"), " 0.00", ""},
        {"missing elements", "<METING><INFO_MANU " + zijAt160 + "/></METING>", "", ""},
    };
    for (const auto& c : cases) {
        const auto r = BuildFrom(c.xml);
        EXPECT_EQ(r->Error, "") << c.what;
        EXPECT_EQ(r->QI, c.qi) << c.what;
        EXPECT_EQ(r->QIZij, c.qiZij) << c.what;
        EXPECT_EQ(r->Norm, "1.60") << c.what; // the speed's limit is still known
    }
}

TEST_F(ProjectDataTest, BandZeroIsTheFilesShortWavesFromSampleTwoAndReplacesItsValues) {
    // 0.01 mm everywhere but sample 1, which band 0 does not reach: GSD 0.01, one positive
    // half-wave and an empty negative one (n = 2), GA 0.01 / 2, GG 180 / 3, nothing beyond the
    // 0.02 limits.
    const std::string flat = PairList(201, [](int k) { return k == 0 ? 0.5 : 0.01; });
    const auto r = BuildFrom(HandProfile(flat)); // the file's GA, GG, GSD are 1, 2, 3
    EXPECT_DOUBLE_EQ(ParseDecimal(r->ShortWavesGSD), 0.01);
    EXPECT_DOUBLE_EQ(ParseDecimal(r->ShortWavesGA), 0.005);
    EXPECT_DOUBLE_EQ(ParseDecimal(r->ShortWavesGG), 60.0);
    EXPECT_DOUBLE_EQ(ParseDecimal(r->ShortWavesAPP), 0.0);
    EXPECT_DOUBLE_EQ(ParseDecimal(r->ShortWavesLoss), 0.0);
}

TEST_F(ProjectDataTest, SaveWritesEveryHeaderFieldIntoItsOwnAttribute) {
    const std::string manu = "PLAATS=\"\" SPOOR=\"\" KM=\"\" RAIL=\"\" LASTYPE=\"\" LASSER=\"\" "
                             "LASNR=\"\" WERKNUMMER=\"\" WISSEL=\"\" SNELHEID=\"80\"";
    const std::string path = Write(HandProfile(PairList(201, [](int) { return 0.0; }), manu));
    auto r = Build(path, "100");
    r->Device = "dev 1";
    r->Datum = "date 2";
    r->Tijd = "time 3";
    r->Eigenaar = "owner 4";
    r->Plaats = "place 5";
    r->Spoor = "track 6";
    r->Km = "km 7";
    r->Rail = "rail 8";
    r->LasType = "type 9";
    r->LasSer = "welder 10";
    r->LasNr = "weld 11";
    r->WerkNummer = "job 12";
    r->Wissel = "switch 13";
    r->Save(path);

    ProfileDocument saved;
    saved.Load(path);
    const std::pair<const char*, const char*> autoValues[] = {
        {"DEVICE", "dev 1"}, {"DATUM", "date 2"}, {"TIJD", "time 3"}, {"EIGENAAR", "owner 4"}};
    for (const auto& [attribute, value] : autoValues)
        EXPECT_EQ(saved.GetAttribute("INFO_AUTO", attribute), value) << attribute;
    const std::pair<const char*, const char*> manuValues[] = {
        {"PLAATS", "place 5"}, {"SPOOR", "track 6"},     {"KM", "km 7"},
        {"RAIL", "rail 8"},    {"LASTYPE", "type 9"},    {"LASSER", "welder 10"},
        {"LASNR", "weld 11"},  {"WERKNUMMER", "job 12"}, {"WISSEL", "switch 13"},
        {"SNELHEID", "100"}};
    for (const auto& [attribute, value] : manuValues)
        EXPECT_EQ(saved.GetAttribute("INFO_MANU", attribute), value) << attribute;
}

TEST_F(ProjectDataTest, TheNewNormTableOfAFlatProfileIsExact) {
    // 0.1 mm everywhere at 120 km/h (A = 2.0): only segment 1 rises, 0.1 mm over 25 mm,
    // weighted 0.3: 0.3 * 4 mrad / 2.0 = 0.6. The x column holds the segment midpoints.
    const std::string path = Write(HandProfile(PairList(201, [](int) { return 0.1; })));
    Build(path, "120")->Save(path);
    std::string expected = "-500.00   0.00000000 \r-487.50   0.60000000 \r";
    for (int k = 2; k <= 40; ++k) {
        const int tenths = -5000 + 250 * k - 125; // midpoint of segment k in 0.1 mm
        expected += std::to_string(tenths / 10) + "." + std::to_string(std::abs(tenths % 10)) +
                    "0   0.00000000 \r";
    }
    const std::string saved = ReadFileBytes(path);
    EXPECT_NE(saved.find("<TOP_DX_DY>" + expected + "</TOP_DX_DY>"), std::string::npos) << saved;
    EXPECT_NE(saved.find("<TOP_QUALITY QI=\" 0.60\" NORM=\"2.00\"/>"), std::string::npos);
    EXPECT_NE(saved.find("QI_POSP_ZIJ=\"0.50\" QI_NEGP_ZIJ=\"-0.50\""), std::string::npos);
}

TEST_F(ProjectDataTest, ASpeedOverrideReplacesTheFileSpeedAndIsSaved) {
    const std::string path = Write(GenerateProfileXml({}));
    auto r = Build(path, "120");
    EXPECT_EQ(r->Snelheid, "120");
    EXPECT_EQ(r->Norm, "2.00");
    EXPECT_EQ(r->NormZijCalcPos[0], 0.5);
    r->Save(path);

    ProfileDocument saved;
    saved.Load(path);
    EXPECT_EQ(saved.GetAttribute("INFO_MANU", "SNELHEID"), "120");
    EXPECT_EQ(saved.GetAttribute("TOP_QUALITY", "NORM"), "2.00");
    EXPECT_EQ(saved.GetAttribute("TOP_QUALITY", "QI"), r->QI);
    EXPECT_EQ(saved.GetAttribute("ZIJ_QUALITY", "QI_POSP_ZIJ"), "0.50");
    EXPECT_EQ(saved.GetAttribute("ZIJ_QUALITY", "QI_NEGP_ZIJ"), "-0.50");
}

TEST_F(ProjectDataTest, ASpeedOutsideTheTableStopsBeforeTheQuality) {
    GeneratorOptions o;
    o.omit = {"INFO_MANU/SNELHEID"};
    auto r = BuildFrom(GenerateProfileXml(o));
    EXPECT_EQ(r->Snelheid, kNotFound);
    EXPECT_EQ(r->Error, "Floating point division by zero");
    EXPECT_EQ(r->QI, "");
    EXPECT_EQ(r->Norm, "");
    EXPECT_EQ(r->QIZij, "");
    EXPECT_EQ(r->NewNormProfile[5], 0.0);
    EXPECT_EQ(r->NewNormX[0], 0.0);
    EXPECT_EQ(r->NormZijCalcPos[0], 0.0);
    EXPECT_EQ(r->NewNormNormLine[0], 1.0);
    // Everything before the quality step is there.
    EXPECT_NE(r->TopMeas[100], 0.0);
    EXPECT_EQ(r->ShortWavesGA3.size(), 23u);

    for (const char* speed : {"90", "abc", " ", "-80", "301"}) {
        r = BuildFrom(GenerateProfileXml({}), speed);
        EXPECT_EQ(r->Error, "Floating point division by zero") << speed;
        EXPECT_EQ(r->QI, "") << speed;
    }
}

TEST_F(ProjectDataTest, AMissingHeaderAttributeReadsNotFoundAndIsNotAddedBySave) {
    GeneratorOptions o;
    o.omit = {"INFO_MANU/LASNR", "INFO_AUTO/DEVICE"};
    const std::string path = Write(GenerateProfileXml(o));
    auto r = Build(path);
    EXPECT_EQ(r->LasNr, kNotFound);
    EXPECT_EQ(r->Device, kNotFound);
    EXPECT_EQ(r->Error, "");
    r->Save(path);
    const std::string saved = ReadFileBytes(path);
    EXPECT_EQ(saved.find("LASNR"), std::string::npos);
    EXPECT_EQ(saved.find("DEVICE"), std::string::npos);
    EXPECT_EQ(saved.find(kNotFound), std::string::npos);
}

TEST_F(ProjectDataTest, AMissingLanguageFileReadsEveryKeyAsError) {
    language = dir.File("ostiva_XX.ini");
    const auto r = BuildFrom(GenerateProfileXml({}));
    EXPECT_EQ(r->Error, "");
    EXPECT_EQ(r->SeriesCaption.at("serNormZijCalcNeg"), "Error");
    EXPECT_EQ(r->NormShortWavesPosText, "Error");
    EXPECT_EQ(r->NormTopPos[0], 0.0);
}

TEST_F(ProjectDataTest, AnUnreadableLanguageFileBuildsNoRecord) {
    language = dir.Path();
    try {
        Build(Write(GenerateProfileXml({})));
        FAIL() << "built a record";
    } catch (const IniError& e) {
        EXPECT_EQ(std::string(e.what()), "Can't open ini-file " + dir.Path());
    }
}

TEST_F(ProjectDataTest, LowerCaseElementAndAttributeNamesAreFound) {
    const std::string upper = GenerateProfileXml({});
    std::string lower = upper;
    for (const char* name : {"INFO_AUTO", "INFO_MANU", "TOP_MEAS", "TREND", "SHORT_WAVES",
                             "ZIJ_MEAS", "TOP_QUALITY", "SNELHEID", "POSP", "NEGP", "GA"}) {
        std::string l = name;
        for (char& c : l)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        lower = std::regex_replace(lower, std::regex(std::string("\\b") + name + "\\b"), l);
    }
    const auto a = BuildFrom(upper);
    const auto b = BuildFrom(lower);
    EXPECT_EQ(b->Error, "");
    EXPECT_EQ(a->TopMeas, b->TopMeas);
    EXPECT_EQ(a->Trend, b->Trend);
    EXPECT_EQ(a->ZijPosP, b->ZijPosP);
    EXPECT_EQ(a->QI, b->QI);
    EXPECT_EQ(b->Snelheid, "80");
}

TEST_F(ProjectDataTest, SaveWritesTheTableAndTheTextsAndIsRepeatable) {
    const std::string path = Write(GenerateProfileXml({}));
    auto r = Build(path);
    r->Device = "99999";
    r->Wissel = "W3 & W4";
    r->Save(path);
    const std::string once = ReadFileBytes(path);
    r->Save(path);
    EXPECT_EQ(ReadFileBytes(path), once);

    const std::size_t open = once.find("<TOP_DX_DY>") + 11;
    const std::string table = once.substr(open, once.find("</TOP_DX_DY>") - open);
    const std::regex line(R"(-?\d+\.\d\d [ \d.-]{12} )");
    std::size_t lines = 0;
    for (std::size_t start = 0, end; (end = table.find('\r', start)) != std::string::npos;
         start = end + 1, ++lines) {
        EXPECT_TRUE(std::regex_match(table.substr(start, end - start), line))
            << table.substr(start, end - start);
    }
    EXPECT_EQ(lines, 41u);
    EXPECT_EQ(table.back(), '\r');
    EXPECT_EQ(table.find('\n'), std::string::npos);
    EXPECT_EQ(table.rfind("-500.00 ", 0), 0u);

    const auto reread = Build(path);
    EXPECT_EQ(reread->Device, "99999");
    EXPECT_EQ(reread->Wissel, "W3 & W4");
    EXPECT_EQ(reread->TopMeas, r->TopMeas);
}

TEST_F(ProjectDataTest, SaveFillsOnlyWhatTheFileHas) {
    std::string xml = Replace(GenerateProfileXml({}), "<TOP_DX_DY>0</TOP_DX_DY>", "<TOP_DX_DY/>");
    xml = Replace(xml, "<ZIJ_QUALITY QI_POSP_ZIJ=\"0.00\" QI_NEGP_ZIJ=\"0.00\"/>\r\n", "");
    const std::string path = Write(xml);
    auto r = Build(path);
    r->Save(path);
    const std::string saved = ReadFileBytes(path);
    EXPECT_NE(saved.find("<TOP_DX_DY/>"), std::string::npos);
    EXPECT_EQ(saved.find("ZIJ_QUALITY"), std::string::npos);
    EXPECT_NE(saved.find("QI=\"" + r->QI + "\""), std::string::npos);
}

TEST_F(ProjectDataTest, TwoElementsOfOneNameUseTheFirst) {
    const std::string first = PairList(201, [](int k) { return k == 100 ? 0.2 : 0.0; });
    std::string xml = HandProfile(first);
    xml = Replace(xml, "<TOP_QUALITY QI=\"\" NORM=\"\"/>",
                  "<TOP_QUALITY QI=\"\" NORM=\"\"/><TOP_QUALITY QI=\"x\" NORM=\"y\"/>"
                  "<TOP_MEAS>-500 9</TOP_MEAS>");
    const std::string path = Write(xml);
    auto r = Build(path);
    EXPECT_EQ(r->TopMeas[101], 0.2);
    r->Save(path);
    const std::string saved = ReadFileBytes(path);
    EXPECT_NE(saved.find("<TOP_QUALITY QI=\"" + r->QI +
                         "\" NORM=\"2.40\"/>"
                         "<TOP_QUALITY QI=\"x\" NORM=\"y\"/><TOP_MEAS>-500 9</TOP_MEAS>"),
              std::string::npos);
}

TEST_F(ProjectDataTest, SampleListsOfOtherLengths) {
    auto r = BuildFrom(HandProfile(PairList(200, [](int k) { return 0.001 * (k + 1); })));
    EXPECT_DOUBLE_EQ(r->TopMeas[200], 0.2);
    EXPECT_EQ(r->TopMeas[201], 0.0);
    EXPECT_EQ(r->ZijMeas[201], 0.0);

    r = BuildFrom(HandProfile(PairList(205, [](int k) { return 0.001 * (k + 1); })));
    EXPECT_DOUBLE_EQ(r->TopMeas[201], 0.201);

    GeneratorOptions o;
    o.pairs = 10000;
    r = BuildFrom(GenerateProfileXml(o));
    EXPECT_EQ(r->Error, "");
    EXPECT_DOUBLE_EQ(r->TopMeas[201], GenerateProfile(o).topMeas[200]);

    // A position without its value: no sample, so no quality index.
    r = BuildFrom(HandProfile("\r\n-500\r\n", "SNELHEID=\"80\""));
    EXPECT_EQ(r->Error, "");
    EXPECT_EQ(r->TopMeas[1], 0.0);
    EXPECT_EQ(r->QI, "");
}

TEST_F(ProjectDataTest, OddSampleTextsAreReadByTheNumberRule) {
    const std::string list = "\r\n-500 abc\r\n-495 1,5\r\n-490 nan\r\n-485 1e400\r\n-480 -\r\n"
                             "-475 +.5e1x\r\n-470 &#xFF;\r\n-465 0.25\r\n";
    const auto r = BuildFrom(HandProfile(list));
    EXPECT_EQ(r->Error, "");
    EXPECT_EQ(r->TopMeas[1], 0.0);
    // The longest prefix that is a number; a value that is not finite reads as 0.
    const double expected[] = {1.0, 0.0, 0.0, 0.0, 5.0};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(r->TopMeas[k + 2], expected[k]) << k;
    EXPECT_EQ(r->TopMeas[7], 0.0);
    EXPECT_EQ(r->TopMeas[8], 0.25);
    EXPECT_EQ(r->QI.size(), 5u);
}

TEST_F(ProjectDataTest, ListsWithReferencesOrBareCrLineEndsReadAsPlainOnes) {
    // Lines ended by CR alone, and a sign written as a reference: still -500 0.5, -495 -0.75.
    for (const std::string list : {"\r-500 0.5\r-495 -0.75\r", "\n-500 0.5\n-495 &#45;0.75\n",
                                   "\r-500 0.5\r-495 &#x2D;0.75\r"}) {
        const auto r = BuildFrom(HandProfile(list));
        EXPECT_EQ(r->Error, "");
        EXPECT_EQ(r->TopMeas[1], 0.5) << list;
        EXPECT_EQ(r->TopMeas[2], -0.75) << list;
        EXPECT_EQ(r->ZijMeas[2], -0.75) << list;
        EXPECT_EQ(r->TopMeasCount, 2) << list;
    }
}

TEST_F(ProjectDataTest, AbsurdSamplesGiveARecordNotACrash) {
    for (double value : {1e300, -1e300, 1e-300, 1e15}) {
        const auto r =
            BuildFrom(HandProfile(PairList(201, [&](int k) { return k % 2 ? value : -value; })));
        // Either a quality index or a floating-point message.
        if (r->Error.empty())
            EXPECT_GE(ParseDecimal(r->QI), 0.0) << value;
        else
            EXPECT_EQ(r->QI, "") << value << " " << r->Error;
    }
}

TEST_F(ProjectDataTest, AFileThatCannotBeLoadedLeavesAPartRecord) {
    const std::string binary("\x7f\x45LF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0", 20);
    const std::string truncated = GenerateProfileXml({}).substr(0, 3000);
    for (const std::string& bytes : {std::string(), std::string("   \r\n"), binary, truncated,
                                     std::string("<METING><INFO_AUTO></METING>")}) {
        const std::string path = Write(bytes);
        const auto r = Build(path);
        const std::string prefix = "XMLFile " + path + " load error: ";
        EXPECT_EQ(r->Error.substr(0, prefix.size()), prefix) << r->Error;
        EXPECT_GT(r->Error.size(), prefix.size());
        EXPECT_EQ(r->FileName, "zq1.xml");
        EXPECT_EQ(r->Device, "");
        EXPECT_EQ(r->TopMeas[1], 0.0);
        EXPECT_EQ(r->PosX[200], 500.0);
        EXPECT_EQ(r->NewNormNormLine[40], 1.0);
        EXPECT_EQ(r->NormTopPos[0], 0.3);
        EXPECT_EQ(r->SeriesCaption.at("serProfile"), "serProfile caption");
    }

    const std::string missing = dir.File("zq_missing.xml");
    const auto r = Build(missing);
    EXPECT_EQ(r->Error, "XMLFile " + missing + " load error: File was not found");
    EXPECT_EQ(r->FileName, "zq_missing.xml");
    try {
        r->Save(missing);
        FAIL() << "saved a record without a document";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("XMLFile " + missing + " save error: ", 0), 0u);
    }
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(ProjectDataTest, AHugeFileStillLoads) {
    std::string extraPairs;
    for (int k = 0; k < 2'000'000; ++k)
        extraPairs += "505 0.12345\r\n";
    const std::string xml =
        Replace(GenerateProfileXml({}), "</TOP_MEAS>", extraPairs + "</TOP_MEAS>");
    ASSERT_GT(xml.size(), 26u * 1000 * 1000);
    const auto r = BuildFrom(Replace(xml, "</ZIJ_MEAS>", extraPairs + "</ZIJ_MEAS>"));
    EXPECT_EQ(r->Error, "");
    EXPECT_EQ(r->QI, BuildFrom(GenerateProfileXml({}))->QI);
}

TEST_F(ProjectDataTest, ASaveThatFailsReportsAndLeavesTheFile) {
    const std::string path = Write(GenerateProfileXml({}));
    const std::string original = ReadFileBytes(path);
    auto r = Build(path, "120");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    try {
        r->Save(path);
        FAIL() << "saved a read-only file";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("XMLFile " + path + " save error: ", 0), 0u)
            << e.what();
    }
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_EQ(r->Snelheid, "120");

    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path, mode);
    r->Save(path);
    EXPECT_EQ(fs::status(path).permissions(), mode);
    EXPECT_NE(ReadFileBytes(path), original);
}

TEST_F(ProjectDataTest, ALatin1FileKeepsItsEncodingThroughARecordSave) {
    GeneratorOptions o;
    o.encoding = FileEncoding::Latin1;
    ProfileHeader h;
    h.eigenaar = "Société Hénaut";
    o.header = h;
    const std::string path = Write(GenerateProfileXml(o));
    auto r = Build(path);
    EXPECT_EQ(r->Eigenaar, "Société Hénaut");
    r->LasSer = "Zoë";
    r->Save(path);
    const std::string saved = ReadFileBytes(path);
    EXPECT_NE(saved.find("EIGENAAR=\"Soci\xe9t\xe9 H\xe9naut\""), std::string::npos);
    EXPECT_NE(saved.find("LASSER=\"Zo\xeb\""), std::string::npos);
    EXPECT_EQ(Build(path)->LasSer, "Zoë");
}

} // namespace
