#include "cli/RecordJson.h"

#include "core/JsonText.h"

#include "core/NumberText.h"
#include "core/Utf8.h"

#include <cmath>
#include <span>

namespace ostiva::cli {

namespace {

class JsonObject {
  public:
    JsonObject() { out_ = "{"; }
    void Key(std::string_view name) {
        if (out_.size() > 1)
            out_ += ',';
        out_ += JsonString(name);
        out_ += ':';
    }
    void Text(std::string_view name, std::string_view value) {
        Key(name);
        out_ += JsonString(value);
    }
    void Numbers(std::string_view name, std::span<const double> values) {
        Key(name);
        out_ += '[';
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i)
                out_ += ',';
            // JSON has no infinity or NaN.
            out_ += std::isfinite(values[i]) ? FormatRoundTrip(values[i]) : "null";
        }
        out_ += ']';
    }
    void Raw(std::string_view name, std::string_view json) {
        Key(name);
        out_ += json;
    }
    std::string Close() { return out_ + "}"; }

  private:
    std::string out_;
};

} // namespace

std::string RecordToJson(const TProjectData& r) {
    JsonObject o;
    const std::pair<const char*, const std::string*> texts[] = {
        {"FileName", &r.FileName},
        {"Device", &r.Device},
        {"Datum", &r.Datum},
        {"Tijd", &r.Tijd},
        {"Eigenaar", &r.Eigenaar},
        {"Plaats", &r.Plaats},
        {"Spoor", &r.Spoor},
        {"Km", &r.Km},
        {"Rail", &r.Rail},
        {"LasType", &r.LasType},
        {"LasSer", &r.LasSer},
        {"LasNr", &r.LasNr},
        {"WerkNummer", &r.WerkNummer},
        {"Wissel", &r.Wissel},
        {"Snelheid", &r.Snelheid},
        {"TopPosP", &r.TopPosP},
        {"TopNegP", &r.TopNegP},
        {"TopPosH", &r.TopPosH},
        {"TopNegH", &r.TopNegH},
        {"ZijPosP", &r.ZijPosP},
        {"ZijNegP", &r.ZijNegP},
        {"ZijPosH", &r.ZijPosH},
        {"ZijNegH", &r.ZijNegH},
        {"ShortWavesGA", &r.ShortWavesGA},
        {"ShortWavesGG", &r.ShortWavesGG},
        {"ShortWavesGSD", &r.ShortWavesGSD},
        {"ShortWavesAPP", &r.ShortWavesAPP},
        {"ShortWavesLoss", &r.ShortWavesLoss},
        {"ShortWavesGA1", &r.ShortWavesGA1},
        {"ShortWavesGG1", &r.ShortWavesGG1},
        {"ShortWavesGSD1", &r.ShortWavesGSD1},
        {"ShortWavesAPP1", &r.ShortWavesAPP1},
        {"ShortWavesLoss1", &r.ShortWavesLoss1},
        {"ShortWavesGA2", &r.ShortWavesGA2},
        {"ShortWavesGG2", &r.ShortWavesGG2},
        {"ShortWavesGSD2", &r.ShortWavesGSD2},
        {"ShortWavesAPP2", &r.ShortWavesAPP2},
        {"ShortWavesLoss2", &r.ShortWavesLoss2},
        {"ShortWavesGA3", &r.ShortWavesGA3},
        {"ShortWavesGG3", &r.ShortWavesGG3},
        {"ShortWavesGSD3", &r.ShortWavesGSD3},
        {"ShortWavesAPP3", &r.ShortWavesAPP3},
        {"ShortWavesLoss3", &r.ShortWavesLoss3},
        {"QI", &r.QI},
        {"Norm", &r.Norm},
        {"QIZij", &r.QIZij},
        {"NormShortWavesPosText", &r.NormShortWavesPosText},
        {"NormShortWavesNegText", &r.NormShortWavesNegText},
        {"NormShortWavesPos1Text", &r.NormShortWavesPos1Text},
        {"NormShortWavesNeg1Text", &r.NormShortWavesNeg1Text},
        {"NormShortWavesPos2Text", &r.NormShortWavesPos2Text},
        {"NormShortWavesNeg2Text", &r.NormShortWavesNeg2Text},
        {"NormShortWavesPos3Text", &r.NormShortWavesPos3Text},
        {"NormShortWavesNeg3Text", &r.NormShortWavesNeg3Text},
    };
    for (const auto& [name, value] : texts)
        o.Text(name, *value);

    o.Numbers("PosX", r.PosX);
    o.Numbers("TopMeas", r.TopMeas);
    o.Numbers("Trend", r.Trend);
    o.Numbers("ShortWaves", r.ShortWaves);
    o.Numbers("ZijMeas", r.ZijMeas);
    const std::pair<const char*, const LineArray*> lines[] = {
        {"ShortWaves1", &r.ShortWaves1},
        {"ShortWaves2", &r.ShortWaves2},
        {"ShortWaves3", &r.ShortWaves3},
        {"NormTopPos", &r.NormTopPos},
        {"NormTopNeg", &r.NormTopNeg},
        {"NormTrendPos", &r.NormTrendPos},
        {"NormTrendNeg", &r.NormTrendNeg},
        {"NormShortWavesPos", &r.NormShortWavesPos},
        {"NormShortWavesNeg", &r.NormShortWavesNeg},
        {"NormShortWavesPos1", &r.NormShortWavesPos1},
        {"NormShortWavesNeg1", &r.NormShortWavesNeg1},
        {"NormShortWavesPos2", &r.NormShortWavesPos2},
        {"NormShortWavesNeg2", &r.NormShortWavesNeg2},
        {"NormShortWavesPos3", &r.NormShortWavesPos3},
        {"NormShortWavesNeg3", &r.NormShortWavesNeg3},
        {"NormZijPos", &r.NormZijPos},
        {"NormZijNeg", &r.NormZijNeg},
        {"NormZijCalcPos", &r.NormZijCalcPos},
        {"NormZijCalcNeg", &r.NormZijCalcNeg},
    };
    for (const auto& [name, values] : lines)
        o.Numbers(name, *values);
    const std::pair<const char*, const NewNormArray*> newNorm[] = {
        {"SamplX", &r.SamplX},
        {"SamplProfile", &r.SamplProfile},
        {"NewNormX", &r.NewNormX},
        {"NewNormProfile", &r.NewNormProfile},
        {"NewNormNormLine", &r.NewNormNormLine},
    };
    for (const auto& [name, values] : newNorm)
        o.Numbers(name, *values);

    JsonObject captions;
    for (const char* key : kSeriesKeys) {
        const auto it = r.SeriesCaption.find(key);
        captions.Text(key, it == r.SeriesCaption.end() ? std::string() : it->second);
    }
    o.Raw("SeriesCaption", captions.Close());
    o.Raw("error", r.Error.empty() ? "null" : JsonString(r.Error));
    return o.Close();
}

} // namespace ostiva::cli
