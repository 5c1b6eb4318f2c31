// The five shipped language files: every key the program reads, and the same norm limits.
#include "core/IniFile.h"

#include <gtest/gtest.h>

#include <charconv>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

using ostiva::IniFile;

namespace {

const std::string kMissing = "\x01missing";

std::string FileOf(const std::string& code) {
    return std::string(OSTIVA_DATA_DIR) + "/ostiva_" + code + ".ini";
}

std::vector<std::pair<std::string, std::string>> RequiredTextKeys() {
    std::vector<std::pair<std::string, std::string>> keys;
    for (int i = 1; i <= 5; ++i)
        keys.emplace_back("Menu" + std::to_string(i), "Caption");
    for (int i : {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16}) {
        keys.emplace_back("Action" + std::to_string(i), "Caption");
        keys.emplace_back("Action" + std::to_string(i), "Hint");
    }
    for (int i = 1; i <= 13; ++i)
        keys.emplace_back("Dialogs", std::to_string(i));
    for (int i = 1; i <= 9; ++i)
        keys.emplace_back("Messages", std::to_string(i));
    for (const char* k : {"Title", "OKbtn", "Clearbtn", "Cancelbtn", "lblQITop", "lblQIZij"})
        keys.emplace_back("SearchProfilesForm", k);
    keys.emplace_back("PrintProfilesForm", "Title");
    for (const char* k : {"MoveQuestion", "Moved", "OneProfile", "Profiles", "More"})
        keys.emplace_back("ProfileCommands", k);
    for (const char* k : {"Unreadable", "More"})
        keys.emplace_back("SearchResults", k);
    keys.emplace_back("ProjectForm", "Narrowed");
    for (int i = 0; i <= 8; ++i)
        keys.emplace_back("ProjectForm", "Tab" + std::to_string(i));
    for (int i = 1; i <= 21; ++i)
        keys.emplace_back("ProjectFormLabels", "Label" + std::to_string(i));
    for (const char* k : {"Label23",
                          "Label24",
                          "Label79",
                          "Label83",
                          "gbxNormTop",
                          "gbxNormTrend",
                          "gbxNormZij",
                          "gbxNormShortWaves",
                          "gbxNormShortWaves1",
                          "gbxNormShortWaves2",
                          "gbxNormShortWaves3",
                          "grpQuality",
                          "gbxQIZij",
                          "gbxTopMeasParms",
                          "gbxZijMeasParms",
                          "gbxSWParms",
                          "gbxSWParms1",
                          "gbxSWParms2",
                          "gbxSWParms3",
                          "Button_NormLijnChange"})
        keys.emplace_back("ProjectFormLabels", k);
    for (const char* k :
         {"serProfile",           "serSamplProfile",      "serTrend",          "serShortWaves",
          "serShortWaves1",       "serShortWaves2",       "serShortWaves3",    "serZijMeas",
          "serNormTopPos",        "serNormTopNeg",        "serNormTrendPos",   "serNormTrendNeg",
          "serNormShortWavesPos", "serNormShortWavesNeg", "serNewNormProfile", "serNewNormNormLine",
          "serNormZijPos",        "serNormZijNeg",        "serNormZijCalcPos", "serNormZijCalcNeg"})
        keys.emplace_back("ChartSeriesNames", k);
    return keys;
}

const std::vector<std::string> kNormLimitKeys = {
    "edtNormTopPos",         "edtNormTopNeg",         "edtNormTrendPos",
    "edtNormTrendNeg",       "edtNormShortWavesPos",  "edtNormShortWavesNeg",
    "edtNormShortWavesPos1", "edtNormShortWavesNeg1", "edtNormShortWavesPos2",
    "edtNormShortWavesNeg2", "edtNormShortWavesPos3", "edtNormShortWavesNeg3",
    "edtNormZijPos",         "edtNormZijNeg"};

bool ParsesAsNumber(const std::string& text, double& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

TEST(LanguageFiles, EveryFileHasEveryText) {
    for (const char* code : ostiva::kLanguageCodes) {
        SCOPED_TRACE(code);
        const IniFile ini(FileOf(code));
        ASSERT_TRUE(ini.Exists());
        for (const auto& [section, key] : RequiredTextKeys()) {
            const std::string text = ini.ReadString(section, key, kMissing);
            EXPECT_NE(text, kMissing) << section << "/" << key;
            EXPECT_FALSE(text.empty()) << section << "/" << key;
            EXPECT_NE(text, "Error") << section << "/" << key;
        }
        for (const char* key : {"2", "4", "6", "8", "10", "11"}) {
            const std::string filter = ini.ReadString("Dialogs", key, "");
            const size_t bar = filter.find('|');
            EXPECT_TRUE(bar != std::string::npos && bar > 0 && bar + 1 < filter.size())
                << "Dialogs/" << key << " is not a \"Description|pattern\" filter: " << filter;
        }
    }
}

TEST(LanguageFiles, SettingsStartTheSameInEveryFile) {
    const IniFile english(FileOf("EN"));
    for (const char* code : ostiva::kLanguageCodes) {
        SCOPED_TRACE(code);
        const IniFile ini(FileOf(code));
        for (const std::string& key : kNormLimitKeys) {
            const std::string text = ini.ReadString("ProjectFormLabels", key, kMissing);
            double value = 0;
            EXPECT_TRUE(ParsesAsNumber(text, value)) << key << "=" << text;
            EXPECT_EQ(key.find("Pos") != std::string::npos, value > 0) << key << "=" << text;
            EXPECT_EQ(text, english.ReadString("ProjectFormLabels", key, "")) << key;
        }
        EXPECT_EQ(ini.ReadString("ProjectFormLabels", "NewNormVelInpIdx", kMissing), "4");
        EXPECT_EQ(ini.ReadString("SearchProfilesForm", "QITopLimit", kMissing), "1.0");
        EXPECT_EQ(ini.ReadString("SearchProfilesForm", "QIZijLimit", kMissing), "1.0");
        for (const char* key : {"Edit1", "Edit2", "Edit3"})
            EXPECT_EQ(ini.ReadString("SearchProfilesForm", key, kMissing), "") << key;
        for (const char* key :
             {"QITopChecked", "QIZijChecked", "CheckBox1", "CheckBox2", "CheckBox3"})
            EXPECT_EQ(ini.ReadString("SearchProfilesForm", key, kMissing), "False") << key;
    }
}

TEST(LanguageFiles, EnglishUsesTheBuiltInCaptionsAndOthersAreTranslated) {
    const IniFile english(FileOf("EN"));
    EXPECT_EQ(english.ReadString("ProjectFormLabels", "Label13", ""), "Weld number:");
    EXPECT_EQ(english.ReadString("ProjectFormLabels", "Label7", ""), "Switch / Km:");
    EXPECT_EQ(english.ReadString("ProjectForm", "Tab0", ""), "Top_Meas");
    EXPECT_EQ(english.ReadString("ProjectForm", "Tab8", ""), "Top Corrugat.3");
    EXPECT_EQ(english.ReadString("Action2", "Caption", ""), "&Open Project");
    EXPECT_EQ(english.ReadString("Action2", "Hint", ""),
              "Open existing project (directory with measurement data)");
    EXPECT_EQ(english.ReadString("Dialogs", "4", ""), "Ostiva files (zq*.*)|zq*.*");

    for (const char* code : {"NL", "DE", "ES", "FR"}) {
        const IniFile ini(FileOf(code));
        for (const auto& [section, key] :
             std::vector<std::pair<std::string, std::string>>{{"Action2", "Hint"},
                                                              {"Messages", "9"},
                                                              {"ProjectFormLabels", "Label13"},
                                                              {"SearchProfilesForm", "Title"}})
            EXPECT_NE(ini.ReadString(section, key, ""), english.ReadString(section, key, ""))
                << code << " " << section << "/" << key;
    }
    // Accented texts come out whole (a stray non-UTF-8 byte would turn the file into Latin-1).
    EXPECT_EQ(IniFile(FileOf("DE")).ReadString("ProjectFormLabels", "Label13", ""),
              "Schwei\xC3\x9Fnummer:");
    EXPECT_EQ(IniFile(FileOf("FR")).ReadString("ProjectFormLabels", "grpQuality", ""),
              "\xC3\x89valuation de la qualit\xC3\xA9");
}

// A repeated section or key would be silently ignored by the reader.
TEST(LanguageFiles, NoSectionOrKeyIsRepeated) {
    for (const char* code : ostiva::kLanguageCodes) {
        SCOPED_TRACE(code);
        std::ifstream in(FileOf(code));
        std::set<std::string> sections;
        std::map<std::string, std::set<std::string>> keys;
        std::string line, section;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == ';')
                continue;
            if (line[0] == '[') {
                section = line.substr(1, line.find(']') - 1);
                EXPECT_TRUE(sections.insert(section).second) << "[" << section << "] twice";
            } else {
                const std::string key = line.substr(0, line.find('='));
                EXPECT_TRUE(keys[section].insert(key).second) << section << "/" << key << " twice";
            }
        }
        EXPECT_EQ(sections.size(), 30u);
    }
}

} // namespace
