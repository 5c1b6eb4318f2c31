#include "core/IniFile.h"
#include "core/NumberText.h"
#include "core/ProjectData.h"
#include "testdata/ProfileGenerator.h"
#include "testdata/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

using namespace ostiva;
using namespace ostiva::testdata;

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
    EXPECT_GT(ParseDecimal(bump.topPosP), 0.2);
    EXPECT_GT(ParseDecimal(bump.topPosH), 3.0);
    EXPECT_LT(ParseDecimal(bump.topNegH), -3.0);
    o.weldHeight = -0.3;
    const GeneratedProfile dip = GenerateProfile(o);
    EXPECT_LT(ParseDecimal(dip.topNegP), -0.2);
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
        aboveLimit += ParseDecimal(r.QI) > 1.0;
    }
    EXPECT_GE(speeds.size(), 8u);
    EXPECT_EQ(weldTypes, (std::set<std::string>{"EW", "TW"}));
    EXPECT_GE(aboveLimit, 3);
    EXPECT_LE(aboveLimit, static_cast<int>(names.size()) / 2);
}

} // namespace
