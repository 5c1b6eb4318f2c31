#include "ProjectData.h"

#include "IniFile.h"
#include "NormQuality.h"
#include "NumberText.h"

#include <filesystem>
#include <span>

namespace ostiva {

namespace {

const std::string kLimitsSection = "ProjectFormLabels";
const std::string kCaptionsSection = "ChartSeriesNames";

// The limit text of `key` and the constant norm line made of its value.
std::string ReadLimit(const IniFile& ini, const std::string& key, LineArray& line) {
    std::string text = ini.ReadString(kLimitsSection, key, kMissingText);
    line.fill(ParseDecimal(text));
    return text;
}

void StoreCorrugation(const Corrugation& c, std::string& ga, std::string& gg, std::string& gsd,
                      std::string& app, std::string& loss) {
    ga = FormatScientific23(c.GA);
    gg = FormatScientific23(c.GG);
    gsd = FormatScientific23(c.GSD);
    app = FormatScientific23(c.APP);
    loss = FormatScientific23(c.Loss);
}

} // namespace

TProjectData::TProjectData(const std::string& path, const std::string& speedOverride,
                           const std::string& languageFile, const ErrorHandler& onError) {
    ReadLanguageFile(languageFile);
    try {
        Build(path, speedOverride);
    } catch (const std::exception& e) {
        Error = e.what();
        if (onError)
            onError(Error);
    }
}

void TProjectData::ReadLanguageFile(const std::string& languageFile) {
    const IniFile ini(languageFile);
    ReadLimit(ini, "edtNormTopPos", NormTopPos);
    ReadLimit(ini, "edtNormTopNeg", NormTopNeg);
    ReadLimit(ini, "edtNormTrendPos", NormTrendPos);
    ReadLimit(ini, "edtNormTrendNeg", NormTrendNeg);
    NormShortWavesPosText = ReadLimit(ini, "edtNormShortWavesPos", NormShortWavesPos);
    NormShortWavesNegText = ReadLimit(ini, "edtNormShortWavesNeg", NormShortWavesNeg);
    NormShortWavesPos1Text = ReadLimit(ini, "edtNormShortWavesPos1", NormShortWavesPos1);
    NormShortWavesNeg1Text = ReadLimit(ini, "edtNormShortWavesNeg1", NormShortWavesNeg1);
    NormShortWavesPos2Text = ReadLimit(ini, "edtNormShortWavesPos2", NormShortWavesPos2);
    NormShortWavesNeg2Text = ReadLimit(ini, "edtNormShortWavesNeg2", NormShortWavesNeg2);
    NormShortWavesPos3Text = ReadLimit(ini, "edtNormShortWavesPos3", NormShortWavesPos3);
    NormShortWavesNeg3Text = ReadLimit(ini, "edtNormShortWavesNeg3", NormShortWavesNeg3);
    ReadLimit(ini, "edtNormZijPos", NormZijPos);
    ReadLimit(ini, "edtNormZijNeg", NormZijNeg);
    for (const char* key : kSeriesKeys)
        SeriesCaption[key] = ini.ReadString(kCaptionsSection, key, kMissingText);
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

    Device = Document.GetAttribute("INFO_AUTO", "DEVICE");
    Datum = Document.GetAttribute("INFO_AUTO", "DATUM");
    Tijd = Document.GetAttribute("INFO_AUTO", "TIJD");
    Plaats = Document.GetAttribute("INFO_MANU", "PLAATS");
    Spoor = Document.GetAttribute("INFO_MANU", "SPOOR");
    Km = Document.GetAttribute("INFO_MANU", "KM");
    Rail = Document.GetAttribute("INFO_MANU", "RAIL");
    LasType = Document.GetAttribute("INFO_MANU", "LASTYPE");
    LasSer = Document.GetAttribute("INFO_MANU", "LASSER");
    LasNr = Document.GetAttribute("INFO_MANU", "LASNR");
    WerkNummer = Document.GetAttribute("INFO_MANU", "WERKNUMMER");
    Eigenaar = Document.GetAttribute("INFO_AUTO", "EIGENAAR");
    Wissel = Document.GetAttribute("INFO_MANU", "WISSEL");
    Snelheid =
        speedOverride.empty() ? Document.GetAttribute("INFO_MANU", "SNELHEID") : speedOverride;

    ParseValueList(Document.GetElementText("TOP_MEAS"), TopMeas);
    ParseValueList(Document.GetElementText("TREND"), Trend);
    ParseValueList(Document.GetElementText("SHORT_WAVES"), ShortWaves);

    ShortWaves1 = ShortWaveBand(TopMeas, 3, 1);
    ShortWaves2 = ShortWaveBand(TopMeas, 10, 3);
    ShortWaves3 = ShortWaveBand(TopMeas, 30, 10);

    ParseValueList(Document.GetElementText("ZIJ_MEAS"), ZijMeas);

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

    const int v = ParseInteger(Snelheid);
    const NewNormResult newNorm = NewNormQuality(v, TopMeas);
    if (IsTableSpeed(v))
        Norm = FormatFixed(InclinationLimit(v), 2);
    SamplX = newNorm.SamplX;
    SamplProfile = newNorm.SamplProfile;
    NewNormX = newNorm.NewNormX;
    NewNormProfile = newNorm.NewNormProfile;
    NewNormNormLine.fill(1.0);
    QI = Format5_2(newNorm.QualityIndex);

    const double lateralLimit = LateralLimit(v);
    NormZijCalcPos.fill(lateralLimit);
    NormZijCalcNeg.fill(-lateralLimit);
    QIZij = Format5_2(LateralQuality(v, ZijPosP, ZijNegP));
}

void TProjectData::Save(const std::string& path) {
    Document.SetAttribute("INFO_AUTO", "DEVICE", Device);
    Document.SetAttribute("INFO_AUTO", "DATUM", Datum);
    Document.SetAttribute("INFO_AUTO", "TIJD", Tijd);
    Document.SetAttribute("INFO_MANU", "PLAATS", Plaats);
    Document.SetAttribute("INFO_MANU", "SPOOR", Spoor);
    Document.SetAttribute("INFO_MANU", "KM", Km);
    Document.SetAttribute("INFO_MANU", "RAIL", Rail);
    Document.SetAttribute("INFO_MANU", "LASTYPE", LasType);
    Document.SetAttribute("INFO_MANU", "LASSER", LasSer);
    Document.SetAttribute("INFO_MANU", "LASNR", LasNr);
    Document.SetAttribute("INFO_MANU", "WERKNUMMER", WerkNummer);
    Document.SetAttribute("INFO_AUTO", "EIGENAAR", Eigenaar);
    Document.SetAttribute("INFO_MANU", "WISSEL", Wissel);
    Document.SetAttribute("INFO_MANU", "SNELHEID", Snelheid);

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
