#include "core/ProjectData.h"

#include "core/IniFile.h"
#include "core/NormQuality.h"
#include "core/NumberText.h"

#include <filesystem>
#include <span>

namespace ostiva {

namespace {

const std::string kLimitsSection = "ProjectFormLabels";
const std::string kCaptionsSection = "ChartSeriesNames";

void StoreCorrugation(const Corrugation& c, std::string& ga, std::string& gg, std::string& gsd,
                      std::string& app, std::string& loss) {
    ga = FormatScientific23(c.GA);
    gg = FormatScientific23(c.GG);
    gsd = FormatScientific23(c.GSD);
    app = FormatScientific23(c.APP);
    loss = FormatScientific23(c.Loss);
}

// Fills `samples` from the sample list of `element`. A list that needs no decoding, as every
// device writes it, is read where it lies in the document. A list without a single digit holds
// no samples, though its words are read as zeros: a missing or empty element reads "not found",
// whose "found" would count as one.
int ReadSamples(ProfileDocument& document, const std::string& element, ProfileArray& samples) {
    const std::optional<std::string_view> markup = document.ElementMarkup(element);
    const std::string decoded = markup ? std::string() : document.GetElementText(element);
    const std::string_view list = markup ? *markup : std::string_view(decoded);
    const int stored = markup ? ParseValueListMarkup(list, samples) : ParseValueList(list, samples);
    return list.find_first_of("0123456789") == std::string_view::npos ? 0 : stored;
}

} // namespace

const HeaderAttribute TProjectData::kHeader[14] = {
    {"INFO_AUTO", "DEVICE", &TProjectData::Device},
    {"INFO_AUTO", "DATUM", &TProjectData::Datum},
    {"INFO_AUTO", "TIJD", &TProjectData::Tijd},
    {"INFO_MANU", "PLAATS", &TProjectData::Plaats},
    {"INFO_MANU", "SPOOR", &TProjectData::Spoor},
    {"INFO_MANU", "KM", &TProjectData::Km},
    {"INFO_MANU", "RAIL", &TProjectData::Rail},
    {"INFO_MANU", "LASTYPE", &TProjectData::LasType},
    {"INFO_MANU", "LASSER", &TProjectData::LasSer},
    {"INFO_MANU", "LASNR", &TProjectData::LasNr},
    {"INFO_MANU", "WERKNUMMER", &TProjectData::WerkNummer},
    {"INFO_AUTO", "EIGENAAR", &TProjectData::Eigenaar},
    {"INFO_MANU", "WISSEL", &TProjectData::Wissel},
    {"INFO_MANU", "SNELHEID", &TProjectData::Snelheid}};

const NormLimitKey TProjectData::kNormLimits[14] = {
    {"edtNormTopPos", &TProjectData::NormTopPos, nullptr},
    {"edtNormTopNeg", &TProjectData::NormTopNeg, nullptr},
    {"edtNormShortWavesPos", &TProjectData::NormShortWavesPos,
     &TProjectData::NormShortWavesPosText},
    {"edtNormShortWavesNeg", &TProjectData::NormShortWavesNeg,
     &TProjectData::NormShortWavesNegText},
    {"edtNormShortWavesPos1", &TProjectData::NormShortWavesPos1,
     &TProjectData::NormShortWavesPos1Text},
    {"edtNormShortWavesNeg1", &TProjectData::NormShortWavesNeg1,
     &TProjectData::NormShortWavesNeg1Text},
    {"edtNormShortWavesPos2", &TProjectData::NormShortWavesPos2,
     &TProjectData::NormShortWavesPos2Text},
    {"edtNormShortWavesNeg2", &TProjectData::NormShortWavesNeg2,
     &TProjectData::NormShortWavesNeg2Text},
    {"edtNormShortWavesPos3", &TProjectData::NormShortWavesPos3,
     &TProjectData::NormShortWavesPos3Text},
    {"edtNormShortWavesNeg3", &TProjectData::NormShortWavesNeg3,
     &TProjectData::NormShortWavesNeg3Text},
    {"edtNormTrendPos", &TProjectData::NormTrendPos, nullptr},
    {"edtNormTrendNeg", &TProjectData::NormTrendNeg, nullptr},
    {"edtNormZijPos", &TProjectData::NormZijPos, nullptr},
    {"edtNormZijNeg", &TProjectData::NormZijNeg, nullptr}};

RecordLanguage::RecordLanguage(const std::string& languageFile) {
    const IniFile ini(languageFile);
    for (std::size_t i = 0; i < limits.size(); ++i)
        limits[i] = ini.ReadString(kLimitsSection, TProjectData::kNormLimits[i].key, kMissingText);
    for (const char* key : kSeriesKeys)
        captions[key] = ini.ReadString(kCaptionsSection, key, kMissingText);
}

TProjectData::TProjectData(const std::string& path, const std::string& speedOverride,
                           const std::string& languageFile)
    : TProjectData(path, speedOverride, RecordLanguage(languageFile)) {}

TProjectData::TProjectData(const std::string& path, const std::string& speedOverride,
                           const RecordLanguage& language) {
    UseLanguage(language);
    try {
        Build(path, speedOverride);
    } catch (const std::exception& e) {
        Error = e.what();
    }
}

void TProjectData::UseLanguage(const RecordLanguage& language) {
    for (std::size_t i = 0; i < std::size(kNormLimits); ++i) {
        const NormLimitKey& limit = kNormLimits[i];
        (this->*limit.line).fill(ParseDecimal(language.limits[i]));
        if (limit.text)
            this->*limit.text = language.limits[i];
    }
    SeriesCaption = language.captions;
}

void TProjectData::Build(const std::string& path, const std::string& speedOverride) {
    for (int i = 0; i < kSampleCount; ++i)
        PosX[i] = -500.0 + 5.0 * i;
    NewNormNormLine.fill(1.0);

    FileName = std::filesystem::path(path).filename().string();

    try {
        Document.Load(path);
    } catch (const std::exception& e) {
        throw std::runtime_error("XMLFile " + path + " load error: " + e.what());
    }

    for (const HeaderAttribute& h : kHeader)
        this->*h.text = Document.GetAttribute(h.element, h.attribute);
    if (!speedOverride.empty())
        Snelheid = speedOverride;

    TopMeasCount = ReadSamples(Document, "TOP_MEAS", TopMeas);
    ReadSamples(Document, "TREND", Trend);
    ReadSamples(Document, "SHORT_WAVES", ShortWaves);

    ShortWaves1 = ShortWaveBand(TopMeas, 3, 1);
    ShortWaves2 = ShortWaveBand(TopMeas, 10, 3);
    ShortWaves3 = ShortWaveBand(TopMeas, 30, 10);

    ZijMeasCount = ReadSamples(Document, "ZIJ_MEAS", ZijMeas);

    TopPosP = Document.GetAttribute("TOP_MEAS", "POSP");
    TopNegP = Document.GetAttribute("TOP_MEAS", "NEGP");
    TopPosH = Document.GetAttribute("TOP_MEAS", "POSH");
    TopNegH = Document.GetAttribute("TOP_MEAS", "NEGH");
    ShortWavesGA = Document.GetAttribute("SHORT_WAVES", "GA");
    ShortWavesGG = Document.GetAttribute("SHORT_WAVES", "GG");
    ShortWavesGSD = Document.GetAttribute("SHORT_WAVES", "GSD");
    ZijPosP = Document.GetAttribute("ZIJ_MEAS", "POSP");
    ZijNegP = Document.GetAttribute("ZIJ_MEAS", "NEGP");
    ZijPosH = Document.GetAttribute("ZIJ_MEAS", "POSH");
    ZijNegH = Document.GetAttribute("ZIJ_MEAS", "NEGH");

    // Band 0 is the file's own short waves, samples 2..201 in v[1..200].
    StoreCorrugation(CorrugationParameters(std::span<const double>(ShortWaves).subspan(1),
                                           NormShortWavesPosText, NormShortWavesNegText),
                     ShortWavesGA, ShortWavesGG, ShortWavesGSD, ShortWavesAPP, ShortWavesLoss);
    StoreCorrugation(
        CorrugationParameters(ShortWaves1, NormShortWavesPos1Text, NormShortWavesNeg1Text),
        ShortWavesGA1, ShortWavesGG1, ShortWavesGSD1, ShortWavesAPP1, ShortWavesLoss1);
    StoreCorrugation(
        CorrugationParameters(ShortWaves2, NormShortWavesPos2Text, NormShortWavesNeg2Text),
        ShortWavesGA2, ShortWavesGG2, ShortWavesGSD2, ShortWavesAPP2, ShortWavesLoss2);
    StoreCorrugation(
        CorrugationParameters(ShortWaves3, NormShortWavesPos3Text, NormShortWavesNeg3Text),
        ShortWavesGA3, ShortWavesGG3, ShortWavesGSD3, ShortWavesAPP3, ShortWavesLoss3);

    Slopes = NewNormSlopes(TopMeas);
    ZijExcursion = LateralExcursion(ZijPosP, ZijNegP);
    Analysed = true;

    const int v = ParseInteger(Snelheid);
    const NewNormResult newNorm = NewNormQuality(v, Slopes);
    if (IsTableSpeed(v))
        Norm = FormatFixed(InclinationLimit(v), 2);
    SamplX = newNorm.SamplX;
    SamplProfile = newNorm.SamplProfile;
    NewNormX = newNorm.NewNormX;
    NewNormProfile = newNorm.NewNormProfile;
    NewNormNormLine.fill(1.0);
    // Zeros read from a list without samples would pass for a perfect weld.
    if (TopMeasCount > 0)
        QI = Format5_2(newNorm.QualityIndex);

    const double lateralLimit = LateralLimit(v);
    NormZijCalcPos.fill(lateralLimit);
    NormZijCalcNeg.fill(-lateralLimit);
    const double lateral = LateralQuality(v, ZijExcursion);
    if (ZijMeasCount > 0)
        QIZij = Format5_2(lateral);
}

void TProjectData::Save(const std::string& path) {
    for (const HeaderAttribute& h : kHeader)
        Document.SetAttribute(h.element, h.attribute, this->*h.text);

    Document.SetAttribute("ZIJ_QUALITY", "QI_POSP_ZIJ", FormatFixed(NormZijCalcPos[1], 2));
    Document.SetAttribute("ZIJ_QUALITY", "QI_NEGP_ZIJ", FormatFixed(NormZijCalcNeg[1], 2));

    Document.SetAttribute("TOP_QUALITY", "QI", QI);
    Document.SetAttribute("TOP_QUALITY", "NORM", Norm);

    std::string table;
    for (int k = 0; k < kNewNormCount; ++k) {
        table += FormatFixed(NewNormX[k], 2);
        table += ' ';
        table += FormatFixed(NewNormProfile[k], 8, 12);
        table += " \r";
    }
    Document.SetElementText("TOP_DX_DY", table);

    try {
        Document.Save(path);
    } catch (const std::exception& e) {
        throw std::runtime_error("XMLFile " + path + " save error: " + e.what());
    }
}

} // namespace ostiva
