#pragma once
// The nine graph kinds: the index of the project window's tab strip, of the print dialog's
// choices and of the report. Everything that depends on the kind is a column of one table.
#include <optional>
#include <span>

enum TGraphKind {
    gkTopMeas = 0,
    gkTopNorm,
    gkShortWaves,
    gkTrend,
    gkZijMeas,
    gkZijNorm,
    gkShortWaves1,
    gkShortWaves2,
    gkShortWaves3
};

struct GraphKindSpec {
    TGraphKind kind;
    const char* tabKey;         // caption key in section ProjectForm
    const char* builtInCaption; // caption before the language file is read
    // The vertical axis: the curve whose extent decides it, the smallest magnitude it
    // considers, whether the compared profile's curve counts too, and a fixed range ±R
    // (0: follow the curve).
    const char* scaleCurve;
    double scaleFloor;
    bool scalesWithSecondProfile;
    double fixedRange;
    // The project window's panels shown with the kind; nullptr: none.
    const char* parameterPanel;
    const char* panelUnderneath; // stays shown under the kind's own panel
    const char* normBox;
    const char* qualityPanel;
};

std::span<const GraphKindSpec> GraphKinds();
const GraphKindSpec& GraphKindOf(TGraphKind kind);
// The kind of a tab or radio-button index; none outside 0..8.
std::optional<TGraphKind> GraphKindAt(int index);
