#pragma once
// TProjectData: one profile file loaded with every result derived from it. The constructor
// does all the work; the fields are public for reading.
#include "core/NormQuality.h"
#include "core/ProfileDocument.h"
#include "core/fortlib.h"

#include <array>
#include <map>
#include <string>

namespace ostiva {

// The twenty chart-series keys of section ChartSeriesNames, in reading order.
inline const char* const kSeriesKeys[] = {
    "serProfile",      "serNormTopPos",     "serNormTopNeg",        "serTrend",
    "serNormTrendPos", "serNormTrendNeg",   "serShortWaves",        "serShortWaves1",
    "serShortWaves2",  "serShortWaves3",    "serNormShortWavesPos", "serNormShortWavesNeg",
    "serSamplProfile", "serNewNormProfile", "serNewNormNormLine",   "serZijMeas",
    "serNormZijPos",   "serNormZijNeg",     "serNormZijCalcPos",    "serNormZijCalcNeg"};

class TProjectData;

// A header text of the record and the attribute of the file it comes from and goes back to.
struct HeaderAttribute {
    const char* element;
    const char* attribute;
    std::string TProjectData::*text;
};

// A constant norm limit: its language-file key (section ProjectFormLabels), the record's line
// and, for the short-wave limits that also feed the loss, the record's copy of the text.
struct NormLimitKey {
    const char* key;
    LineArray TProjectData::*line;
    std::string TProjectData::*text;
};

// The texts a record reads from the language file: the norm limits (in the order of
// TProjectData::kNormLimits) and the legend captions. Read once, they serve any number of
// records. Throws IniError "Can't open ini-file %s" when the file cannot be read at all; a
// missing key reads "Error".
struct RecordLanguage {
    explicit RecordLanguage(const std::string& languageFile);
    std::array<std::string, 14> limits;
    std::map<std::string, std::string> captions;
};

class TProjectData {
  public:
    // Builds the record of the profile file `path`. A non-empty `speedOverride` replaces the
    // file's SNELHEID. `languageFile` is the language file of the current language; a missing
    // one reads every key as "Error". Throws IniError "Can't open ini-file %s" when the
    // language file cannot be read at all: then there is no record. Every other failure is
    // kept in `Error`, for the caller to show, and leaves a record filled up to the failing
    // step.
    TProjectData(const std::string& path, const std::string& speedOverride,
                 const std::string& languageFile);
    // The same with the language file read beforehand.
    TProjectData(const std::string& path, const std::string& speedOverride,
                 const RecordLanguage& language);

    // Writes the header texts, quality texts, lateral limits and new-norm table into Document
    // and stores it at `path`. Throws std::runtime_error
    // "XMLFile <path> save error: <message>".
    void Save(const std::string& path);

    // The message of the construction error, empty when the construction succeeded.
    std::string Error;

    std::string FileName;
    // Header texts.
    std::string Device, Datum, Tijd, Eigenaar, Plaats, Spoor, Km, Rail, LasType, LasSer, LasNr,
        WerkNummer, Wissel, Snelheid;
    // Measurement parameters as read from the file.
    std::string TopPosP, TopNegP, TopPosH, TopNegH;
    std::string ZijPosP, ZijNegP, ZijPosH, ZijNegH;
    // Corrugation parameters of the four bands, 23-character scientific texts.
    std::string ShortWavesGA, ShortWavesGG, ShortWavesGSD, ShortWavesAPP, ShortWavesLoss;
    std::string ShortWavesGA1, ShortWavesGG1, ShortWavesGSD1, ShortWavesAPP1, ShortWavesLoss1;
    std::string ShortWavesGA2, ShortWavesGG2, ShortWavesGSD2, ShortWavesAPP2, ShortWavesLoss2;
    std::string ShortWavesGA3, ShortWavesGG3, ShortWavesGSD3, ShortWavesAPP3, ShortWavesLoss3;
    // Quality texts.
    std::string QI, Norm, QIZij;
    // Short-wave limits exactly as written in the language file (they feed the loss).
    std::string NormShortWavesPosText, NormShortWavesNegText, NormShortWavesPos1Text,
        NormShortWavesNeg1Text, NormShortWavesPos2Text, NormShortWavesNeg2Text,
        NormShortWavesPos3Text, NormShortWavesNeg3Text;
    // Legend captions by series key.
    std::map<std::string, std::string> SeriesCaption;

    LineArray PosX{};
    ProfileArray TopMeas{}, Trend{}, ShortWaves{}, ZijMeas{};
    LineArray ShortWaves1{}, ShortWaves2{}, ShortWaves3{};
    LineArray NormTopPos{}, NormTopNeg{}, NormTrendPos{}, NormTrendNeg{};
    LineArray NormShortWavesPos{}, NormShortWavesNeg{}, NormShortWavesPos1{}, NormShortWavesNeg1{},
        NormShortWavesPos2{}, NormShortWavesNeg2{}, NormShortWavesPos3{}, NormShortWavesNeg3{};
    LineArray NormZijPos{}, NormZijNeg{}, NormZijCalcPos{}, NormZijCalcNeg{};
    NewNormArray SamplX{}, SamplProfile{}, NewNormX{}, NewNormProfile{}, NewNormNormLine{};
    // Samples read from TOP_MEAS and ZIJ_MEAS. Without samples there is nothing to assess:
    // QI (no TOP_MEAS samples) or QIZij (no ZIJ_MEAS samples) then stays empty.
    int TopMeasCount = 0, ZijMeasCount = 0;

    // What the assessment needs that does not depend on the speed, so that the same profile
    // can be judged at other speeds without building the record again. Set once the samples
    // were analysed (true even when the record's own speed is outside the table).
    bool Analysed = false;
    NewNormInclinations Slopes{};
    double ZijExcursion = 0; // max(ZijPosP, -ZijNegP)

    ProfileDocument Document;

    // The fourteen header attributes in the order a save writes them.
    static const HeaderAttribute kHeader[14];
    // The fourteen norm limits in the order the project window writes them.
    static const NormLimitKey kNormLimits[14];

  private:
    void UseLanguage(const RecordLanguage& language);
    void Build(const std::string& path, const std::string& speedOverride);
};

} // namespace ostiva
