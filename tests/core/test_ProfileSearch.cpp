#include "core/IniFile.h"
#include "core/NumberText.h"
#include "core/ProfileSearch.h"
#include "testdata/ProfileGenerator.h"
#include "testdata/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace {

using namespace ostiva;
using namespace ostiva::testdata;
namespace fs = std::filesystem;

// "position value" pairs of `value` mm at -500, -495, ...
std::string FlatList(double value, int pairs = 201) {
    std::string list = "\r\n";
    for (int k = 0; k < pairs; ++k)
        list += std::to_string(-500 + 5 * k) + " " + FormatFixed(value, 5) + "\r\n";
    return list;
}

// A profile at 120 km/h (A = 2.0, lateral limit 0.5) with the given sample lists and lateral
// versines.
std::string HandProfile(const std::string& topList, const std::string& zijList,
                        const std::string& zijVersines = "POSP=\"0.2\" NEGP=\"-0.1\"",
                        const std::string& speed = "120") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<METING>\r\n"
           "<INFO_MANU LASSER=\"Jan\" SNELHEID=\"" +
           speed + "\"/>\r\n<TOP_MEAS>" + topList + "</TOP_MEAS>\r\n<ZIJ_MEAS " + zijVersines +
           ">" + zijList + "</ZIJ_MEAS>\r\n</METING>\r\n";
}

SearchCriteria VerticalOnly(const std::string& limit) {
    SearchCriteria c;
    c.qiTopOn = true;
    c.qiTopLimit = limit;
    return c;
}

SearchCriteria LateralOnly(const std::string& limit) {
    SearchCriteria c;
    c.qiZijOn = true;
    c.qiZijLimit = limit;
    return c;
}

class ProfileSearchTest : public ::testing::Test {
  protected:
    // Never written: every language key reads "Error", which the criteria do not use.
    std::string Language() const { return dir.File("ostiva_EN.ini"); }
    TProjectData Build(const std::string& xml, const std::string& name = "zq1.xml") {
        WriteFileBytes(dir.File(name), xml);
        return TProjectData(dir.File(name), "", Language());
    }
    // A record whose text fields the test sets itself.
    TProjectData Blank() { return TProjectData(dir.File("zq_none.xml"), "", Language()); }

    ScopedTempDir dir;
};

TEST_F(ProfileSearchTest, AQualityIndexIsComparedAsItsTextReads) {
    // Flat c mm at 120 km/h: only the first segment rises, c / 25 mm weighted 0.3, over A = 2.0:
    // QI = 6 c. 0.167 mm gives 1.002, shown 1.00; 0.168 mm gives 1.008, shown 1.01.
    const TProjectData shownOne = Build(HandProfile(FlatList(0.167), FlatList(0)));
    ASSERT_EQ(shownOne.QI, " 1.00");
    EXPECT_GT(6 * 0.167, 1.0);
    EXPECT_TRUE(MeetsCriteria(shownOne, VerticalOnly("1.0")));
    const TProjectData shownOneOne = Build(HandProfile(FlatList(0.168), FlatList(0)));
    ASSERT_EQ(shownOneOne.QI, " 1.01");
    EXPECT_FALSE(MeetsCriteria(shownOneOne, VerticalOnly("1.0")));
    EXPECT_TRUE(MeetsCriteria(shownOneOne, VerticalOnly("1.01")));
    // A criterion that is off is ignored.
    EXPECT_TRUE(MeetsCriteria(shownOneOne, LateralOnly("1.0")));

    // Lateral: max(POSP, -NEGP) / 0.5.
    const TProjectData lateralOne =
        Build(HandProfile(FlatList(0), FlatList(0.1), "POSP=\"0.2\" NEGP=\"-0.5\""));
    ASSERT_EQ(lateralOne.QIZij, " 1.00");
    EXPECT_TRUE(MeetsCriteria(lateralOne, LateralOnly("1.0")));
    const TProjectData lateralAbove =
        Build(HandProfile(FlatList(0), FlatList(0.1), "POSP=\"0.505\" NEGP=\"-0.1\""));
    ASSERT_EQ(lateralAbove.QIZij, " 1.01");
    EXPECT_FALSE(MeetsCriteria(lateralAbove, LateralOnly("1.0")));
    SearchCriteria both = LateralOnly("1.0");
    both.qiTopOn = true;
    EXPECT_TRUE(MeetsCriteria(lateralOne, both));
    EXPECT_FALSE(MeetsCriteria(lateralAbove, both));
}

TEST_F(ProfileSearchTest, AProfileNobodyMeasuredIsNeverGood) {
    // No vertical samples: nothing to assess, no QI.
    const TProjectData noTop = Build(HandProfile("\r\n\r\n", FlatList(0.1)));
    EXPECT_EQ(noTop.QI, "");
    EXPECT_EQ(noTop.TopMeasCount, 0);
    EXPECT_EQ(noTop.ZijMeasCount, 201);
    EXPECT_FALSE(MeetsCriteria(noTop, VerticalOnly("1.0")));
    EXPECT_TRUE(MeetsCriteria(noTop, LateralOnly("1.0")));

    const TProjectData noZij = Build(HandProfile(FlatList(0.1, 3), ""));
    EXPECT_EQ(noZij.TopMeasCount, 3);
    EXPECT_EQ(noZij.ZijMeasCount, 0);
    EXPECT_EQ(noZij.QIZij, "");
    EXPECT_FALSE(MeetsCriteria(noZij, LateralOnly("1.0")));
    EXPECT_TRUE(MeetsCriteria(noZij, VerticalOnly("1.0")));

    GeneratorOptions o;
    o.omit = {"TOP_MEAS", "ZIJ_MEAS"};
    const TProjectData neither = Build(GenerateProfileXml(o));
    EXPECT_EQ(neither.Error, "");
    EXPECT_EQ(neither.QI, "");
    EXPECT_EQ(neither.QIZij, "");
    EXPECT_FALSE(MeetsCriteria(neither, VerticalOnly("1.0")));
    EXPECT_FALSE(MeetsCriteria(neither, LateralOnly("1.0")));

    // A speed outside the table leaves both indices empty, which would read as 0.
    const TProjectData noSpeed = Build(HandProfile(FlatList(0.1), FlatList(0.1), "", "90"));
    ASSERT_EQ(noSpeed.QI, "");
    EXPECT_FALSE(MeetsCriteria(noSpeed, VerticalOnly("1.0")));
    EXPECT_FALSE(MeetsCriteria(noSpeed, LateralOnly("1.0")));
}

TEST_F(ProfileSearchTest, TextCriteriaIgnoreLetterCaseAndNeverMatchNothing) {
    TProjectData r = Blank();
    SearchCriteria c;
    c.operatorOn = true;
    c.operatorText = "jan";
    for (const char* operatorName : {"Jan", "JANSEN", "de Jan", "Pieter-jan"}) {
        r.LasSer = operatorName;
        EXPECT_TRUE(MeetsCriteria(r, c)) << operatorName;
    }
    for (const char* operatorName : {"Piet", "J an", ""}) {
        r.LasSer = operatorName;
        EXPECT_FALSE(MeetsCriteria(r, c)) << operatorName;
    }
    // An attribute the file lacks reads "not found": no operator either.
    r.LasSer = kNotFound;
    c.operatorText = "found";
    EXPECT_FALSE(MeetsCriteria(r, c));
    // Latin letters beyond ASCII.
    r.LasSer = "ZOË ŁUKASIEWICZ";
    c.operatorText = "zoë łuk";
    EXPECT_TRUE(MeetsCriteria(r, c));
    c.operatorText = "zoe";
    EXPECT_FALSE(MeetsCriteria(r, c));
    // An empty text matches nothing, not even a field with text.
    c.operatorText = "";
    EXPECT_FALSE(MeetsCriteria(r, c));

    // Switch/km and weld number, each on its own field.
    SearchCriteria s;
    s.switchOn = true;
    s.switchText = "w12";
    r.Wissel = "Km 3.4 / W12b";
    r.LasNr = "0";
    EXPECT_TRUE(MeetsCriteria(r, s));
    s.weldNumberOn = true;
    s.weldNumberText = "17";
    EXPECT_FALSE(MeetsCriteria(r, s));
    r.LasNr = "A-117";
    EXPECT_TRUE(MeetsCriteria(r, s));
    r.Wissel = "";
    EXPECT_FALSE(MeetsCriteria(r, s));
    // A record read from a file: the operator attribute is there but empty.
    c.operatorText = "jan";
    GeneratorOptions o;
    o.header = ProfileHeader{};
    EXPECT_FALSE(MeetsCriteria(Build(GenerateProfileXml(o)), c));
}

TEST_F(ProfileSearchTest, TheDescriptionNamesEverySwitchedOnCriterion) {
    const std::array<std::string, 5> captions = {"Top QI", "Zij QI",
                                                 "Operator:", "Switch / Km:", "Weld number:"};
    SearchCriteria c;
    EXPECT_EQ(DescribeCriteria(c, captions), " ");
    c.qiTopOn = true;
    c.qiZijOn = true;
    c.qiZijLimit = "0.8";
    c.operatorOn = true;
    c.operatorText = "jan";
    c.switchOn = true;
    c.weldNumberOn = true;
    c.weldNumberText = "12";
    EXPECT_EQ(DescribeCriteria(c, captions),
              " Top QI<1.0 Zij QI<0.8 Operator:=jan Switch / Km:= Weld number:=12 ");
    c.qiTopOn = false;
    c.operatorOn = false;
    c.switchOn = false;
    EXPECT_EQ(DescribeCriteria(c, captions), " Zij QI<0.8 Weld number:=12 ");
}

TEST_F(ProfileSearchTest, SearchKeepsTheGivenOrderOnAnyNumberOfThreadsAndNamesUnreadableFiles) {
    // Operators "Jan <i>" for every third file, "Piet" for the others; the names are given
    // backwards, with a file that does not exist and one cut off in the middle: never found,
    // not even with nothing switched on, and named with their messages. The last file's speed
    // is not in the table.
    WriteFileBytes(dir.File("zq_cut.xml"), "<?xml version=\"1.0\"?>\r\n<METING>\r\n"
                                           "<INFO_MANU LASSER=\"Jan\" SNELHEID=\"120\"/>\r\n");
    std::vector<std::string> names, expected, readable;
    for (int i = 59; i >= 0; --i) {
        GeneratorOptions o;
        o.seed = static_cast<std::uint32_t>(i + 1);
        o.header = ProfileHeader{};
        o.header->lasSer = i % 3 == 0 ? "JAN " + std::to_string(i) : "Piet";
        if (i == 0)
            o.speed = "90"; // no quality index, yet a header that is read
        const std::string name = "zq" + std::to_string(i) + ".xml";
        WriteProfileFile(dir.File(name), o);
        names.push_back(name);
        readable.push_back(name);
        if (i % 3 == 0)
            expected.push_back(name);
        if (i == 30)
            names.push_back("zq_missing.xml");
        if (i == 10)
            names.push_back("zq_cut.xml");
    }
    const auto check = [&](const std::optional<SearchResult>& result,
                           const std::vector<std::string>& found, const std::string& what) {
        ASSERT_TRUE(result.has_value()) << what;
        EXPECT_EQ(result->found, found) << what;
        ASSERT_EQ(result->unreadable.size(), 2u) << what;
        EXPECT_EQ(result->unreadable[0].name, "zq_missing.xml") << what;
        EXPECT_EQ(result->unreadable[1].name, "zq_cut.xml") << what;
        for (const UnreadableProfile& file : result->unreadable)
            EXPECT_TRUE(
                file.message.starts_with("XMLFile " + dir.File(file.name) + " load error: "))
                << file.message;
    };
    SearchCriteria c;
    c.operatorOn = true;
    c.operatorText = "jan";
    const std::thread::id caller = std::this_thread::get_id();
    for (unsigned workers : {0u, 1u, 3u}) {
        std::size_t lastDone = 0, calls = 0;
        const auto progress = [&](std::size_t done, std::size_t total) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            EXPECT_EQ(total, names.size());
            EXPECT_GE(done, lastDone);
            lastDone = done;
            ++calls;
            return true;
        };
        check(SearchProfiles(dir.Path(), names, c, Language(), progress, workers), expected,
              "workers " + std::to_string(workers));
        EXPECT_EQ(lastDone, names.size());
        EXPECT_GE(calls, 1u);
    }
    // With a path separator given, without progress, and with nothing switched on.
    check(SearchProfiles(dir.Path() + "/", names, c, Language()), expected, "separator");
    check(SearchProfiles(dir.Path(), names, SearchCriteria{}, Language()), readable, "all");
    const auto none = SearchProfiles(dir.Path(), {}, c, Language());
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->found.empty() && none->unreadable.empty());
}

TEST_F(ProfileSearchTest, SearchCanBeCancelledAndReportsAnUnreadableLanguageFile) {
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i) {
        names.push_back("zq" + std::to_string(i) + ".xml");
        WriteProfileFile(dir.File(names.back()), {});
    }
    SearchCriteria c;
    c.qiTopOn = true;
    // Whether the first call comes while records are built or at the end, it cancels.
    int calls = 0;
    const auto cancel = [&](std::size_t, std::size_t) {
        ++calls;
        return false;
    };
    EXPECT_EQ(SearchProfiles(dir.Path(), names, c, Language(), cancel, 2), std::nullopt);
    EXPECT_EQ(calls, 1);

    // A directory cannot be read as a language file.
    for (unsigned workers : {1u, 3u})
        EXPECT_THROW(SearchProfiles(dir.Path(), names, c, dir.Path(), {}, workers), IniError);
}

TEST_F(ProfileSearchTest, ProfileFilesAreListedAsTheProjectWindowListsThem) {
    for (const char* name : {"zqb.xml", "abc.xml", "ZQ1.XML", "zq2.xml", "ZQC.Xml", "zqA.xml",
                             "zq.xml", "azq4.xml", "zq5.xml.bak", "zq6_xml"})
        WriteFileBytes(dir.File(name), "");
    fs::create_directory(dir.File("zq3.xml"));
    // Letter case ignored, where plain byte order would put every capital first.
    EXPECT_EQ(ListProfileFiles(dir.Path()),
              (std::vector<std::string>{"zq.xml", "ZQ1.XML", "zq2.xml", "zqA.xml", "zqb.xml",
                                        "ZQC.Xml"}));
    EXPECT_TRUE(ListProfileFiles(dir.File("nowhere")).empty());
}

} // namespace
