#include "core/IniFile.h"
#include "core/ProjectData.h"
#include "testdata/ProfileGenerator.h"
#include "testdata/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <set>

namespace {

using namespace ostiva;
using namespace ostiva::testdata;

// A number text as the standard library reads it (after leading blanks), not the program's own
// reader.
double Value(const std::string& text) {
    const char* begin = text.data() + std::min(text.find_first_not_of(' '), text.size());
    double value = 0;
    EXPECT_EQ(std::from_chars(begin, text.data() + text.size(), value).ptr,
              text.data() + text.size())
        << text;
    return value;
}

TEST(ProfileGenerator, NumbersAreWrittenAsTheDeviceWritesThem) {
    const std::tuple<double, int, const char*> cases[] = {
        {0.285, 2, "0.29"},  {-0.125, 2, "-0.13"},         {0.02555, 4, "0.0256"},
        {2.675, 2, "2.68"},  {9.995, 2, "10.00"},          {0.0123449, 4, "0.0123"},
        {-0.004, 2, "0.00"}, {-0.0, 5, "0.00000"},         {1e-9, 5, "0.00000"},
        {-500, 0, "-500"},   {499.999996, 5, "500.00000"}, {123456.5, 0, "123457"},
        {0.1, 5, "0.10000"}, {-0.000005, 5, "-0.00001"},
    };
    for (const auto& [value, decimals, text] : cases)
        EXPECT_EQ(FixedText(value, decimals), text) << value << " with " << decimals;
}

TEST(ProfileGenerator, EverySampleIsWrittenAsTheValueItReturns) {
    GeneratorOptions o;
    o.seed = 3;
    const GeneratedProfile p = GenerateProfile(o);
    const std::string xml = GenerateProfileXml(o);
    // The first sample line of each list: "-500 <value>".
    const auto firstSample = [&xml](const std::string& element) {
        const std::size_t line = xml.find("\r\n-500 ", xml.find("<" + element)) + 7;
        return xml.substr(line, xml.find('\r', line) - line);
    };
    for (const auto& [element, value, decimals] :
         {std::tuple("TOP_MEAS", p.topMeas[0], 5), std::tuple("TREND", p.trend[0], 5),
          std::tuple("SHORT_WAVES", p.shortWaves[0], 5), std::tuple("ZIJ_MEAS", p.zijMeas[0], 4)}) {
        const std::string text = firstSample(element);
        EXPECT_EQ(text.size() - text.find('.') - 1, static_cast<std::size_t>(decimals)) << text;
        EXPECT_EQ(Value(text), value) << element;
    }
}

TEST(ProfileGenerator, TheSameOptionsGiveTheSameBytes) {
    GeneratorOptions a, b;
    a.seed = b.seed = 42;
    EXPECT_EQ(GenerateProfileXml(a), GenerateProfileXml(b));
    b.seed = 43;
    EXPECT_NE(GenerateProfileXml(a), GenerateProfileXml(b));
}

TEST(ProfileGenerator, FilesLookLikeTheDevicesFiles) {
    GeneratorOptions o;
    o.pairs = 3;
    o.speed = "140";
    o.weldHeight = 0.2;
    const std::string xml = GenerateProfileXml(o);
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<METING>\r\n", 0), 0u);
    EXPECT_NE(xml.find("SNELHEID=\"140\""), std::string::npos);
    EXPECT_NE(xml.find("\r\n-500 "), std::string::npos);
    EXPECT_NE(xml.find("\r\n-490 "), std::string::npos);
    EXPECT_EQ(xml.find("\r\n-485 "), std::string::npos);
    for (const char* element :
         {"<INFO_AUTO ", "<INFO_MANU ", "<TOP_MEAS ", "<TREND>", "<SHORT_WAVES ", "<ZIJ_MEAS ",
          "<TOP_QUALITY ", "<ZIJ_QUALITY ", "<TOP_DX_DY>"})
        EXPECT_NE(xml.find(element), std::string::npos) << element;
    EXPECT_EQ(xml.find('\n', xml.find('\n') + 1) - 1, xml.find('\r', xml.find('\r') + 1));

    const GeneratedProfile p = GenerateProfile(o);
    EXPECT_EQ(p.topMeas.size(), 3u);
    EXPECT_EQ(p.positions, (std::vector<double>{-500, -495, -490}));
}

TEST(ProfileGenerator, AWeldShowsInTheVersinesAndInclinations) {
    GeneratorOptions o;
    o.weldHeight = 0.3;
    o.weldWidth = 30;
    const GeneratedProfile bump = GenerateProfile(o);
    EXPECT_GT(Value(bump.topPosP), 0.2);
    EXPECT_GT(Value(bump.topPosH), 3.0);
    EXPECT_LT(Value(bump.topNegH), -3.0);
    o.weldHeight = -0.3;
    const GeneratedProfile dip = GenerateProfile(o);
    EXPECT_LT(Value(dip.topNegP), -0.2);
}

TEST(ProfileGenerator, OptionsLeaveOutPartsAndChooseTheEncoding) {
    GeneratorOptions o;
    o.omit = {"INFO_MANU/SNELHEID", "TREND"};
    o.encoding = FileEncoding::Latin1;
    ProfileHeader h;
    h.eigenaar = "Hénaut";
    o.header = h;
    const std::string xml = GenerateProfileXml(o);
    EXPECT_EQ(xml.find("SNELHEID"), std::string::npos);
    EXPECT_EQ(xml.find("<TREND"), std::string::npos);
    EXPECT_NE(xml.find("encoding=\"ISO-8859-1\""), std::string::npos);
    EXPECT_NE(xml.find("EIGENAAR=\"H\xe9naut\""), std::string::npos);
}

TEST(ProfileGenerator, TheDemoProjectIsVariedAndKeepsAUsersEdits) {
    ScopedTempDir dir;
    const std::string project = dir.File("demo/sub");
    const std::vector<std::string> names = GenerateDemoProject(project);
    ASSERT_GE(names.size(), 15u);
    std::vector<std::string> first;
    for (const std::string& name : names) {
        EXPECT_EQ(name.rfind("zq", 0), 0u);
        first.push_back(ReadFileBytes(project + "/" + name));
    }
    WriteFileBytes(project + "/" + names[0], "edited");
    EXPECT_EQ(GenerateDemoProject(project), names);
    EXPECT_EQ(ReadFileBytes(project + "/" + names[0]), "edited");
    // A missing file comes back as it was.
    std::filesystem::remove(project + "/" + names[0]);
    GenerateDemoProject(project);

    std::set<std::string> speeds, weldTypes;
    int aboveLimit = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string path = project + "/" + names[i];
        EXPECT_EQ(ReadFileBytes(path), first[i]);
        const TProjectData r(path, "", dir.File("no_language.ini"));
        EXPECT_EQ(r.Error, "") << names[i];
        EXPECT_EQ(r.Datum.substr(6), "2026");
        speeds.insert(r.Snelheid);
        weldTypes.insert(r.LasType);
        aboveLimit += Value(r.QI) > 1.0;
    }
    EXPECT_GE(speeds.size(), 8u);
    EXPECT_EQ(weldTypes, (std::set<std::string>{"EW", "TW"}));
    EXPECT_GE(aboveLimit, 3);
    EXPECT_LE(aboveLimit, static_cast<int>(names.size()) / 2);
}

} // namespace
