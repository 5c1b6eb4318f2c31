#include "app/chart/GraphKinds.h"

#include <array>

namespace {

constexpr const char* kTopPanel = "gbxTopMeasParms";
constexpr const char* kZijPanel = "gbxZijMeasParms";

// In table order: row k describes kind k.
constexpr std::array<GraphKindSpec, 9> kKinds = {{
    {gkTopMeas, "Tab0", "Top_Meas", "serProfile", 0, true, 0, kTopPanel, nullptr, "gbxNormTop",
     "grpQuality"},
    {gkTopNorm, "Tab1", "Top_Norm", "serNewNormProfile", 2, false, 2.0, kTopPanel, nullptr, nullptr,
     "grpQuality"},
    {gkShortWaves, "Tab2", "Top Corrugat.", "serShortwaves", 0, true, 0.3, "gbxSWParms", nullptr,
     "gbxNormShortWaves", nullptr},
    {gkTrend, "Tab3", "Top Trend", "serTrend", 0, true, 1.0, kTopPanel, nullptr, "gbxNormTrend",
     nullptr},
    // The lateral kinds cover the Top panel with their own, which stays shown under it.
    {gkZijMeas, "Tab4", "Zij_Meas", "serZijMeas", 2, true, 0, kZijPanel, kTopPanel, "gbxNormZij",
     "gbxQIZij"},
    {gkZijNorm, "Tab5", "Zij_Norm", "serZijMeas", 2, true, 2.0, kZijPanel, kTopPanel, nullptr,
     "gbxQIZij"},
    {gkShortWaves1, "Tab6", "Top Corrugat.1", "serShortwaves1", 0, true, 0.06, "gbxSWParms1",
     nullptr, "gbxNormShortWaves1", nullptr},
    {gkShortWaves2, "Tab7", "Top Corrugat.2", "serShortwaves2", 0, true, 0.2, "gbxSWParms2",
     nullptr, "gbxNormShortWaves2", nullptr},
    {gkShortWaves3, "Tab8", "Top Corrugat.3", "serShortwaves3", 0, true, 0.4, "gbxSWParms3",
     nullptr, "gbxNormShortWaves3", nullptr},
}};

constexpr bool RowsInKindOrder() {
    for (std::size_t i = 0; i < kKinds.size(); ++i)
        if (kKinds[i].kind != static_cast<TGraphKind>(i))
            return false;
    return true;
}
static_assert(RowsInKindOrder());

} // namespace

std::span<const GraphKindSpec> GraphKinds() {
    return kKinds;
}

const GraphKindSpec& GraphKindOf(TGraphKind kind) {
    return kKinds[static_cast<std::size_t>(kind)];
}

std::optional<TGraphKind> GraphKindAt(int index) {
    if (index < 0 || index >= static_cast<int>(kKinds.size()))
        return std::nullopt;
    return static_cast<TGraphKind>(index);
}
