// The tables that tie the project window's controls to the profile record, the language file
// and the chart.
#include "app/project/ProjectFormControls.h"

using ostiva::TProjectData;

// Left column top to bottom, then the right column.
const std::vector<HeaderFieldSpec> kHeaderFields = {
    {"Label13", "Weld number:", "Edit12", "Edit40", &TProjectData::LasNr},
    {"Label2", "Serial No:", "Edit1", "Edit21", &TProjectData::Device},
    {"Label3", "Report:", "Edit2", "Edit22", nullptr},
    {"Label4", "Date:", "Edit3", "Edit23", &TProjectData::Datum},
    {"Label5", "Time:", "Edit4", "Edit24", &TProjectData::Tijd},
    {"Label6", "Job number:", "Edit5", "Edit25", &TProjectData::WerkNummer},
    {"Label8", "Operator:", "Edit7", "Edit26", &TProjectData::LasSer},
    {"Label9", "Location code:", "Edit8", "Edit27", &TProjectData::Plaats},
    {"Label11", "Rail type", "Edit10", "Edit28", &TProjectData::Km},
    {"Label12", "Rail L/R:", "Edit11", "Edit29", &TProjectData::Rail},
    {"Label14", "Weld type:", "Edit13", "Edit30", &TProjectData::LasType},
    {"Label7", "Switch / Km:", "Edit6", "Edit31", &TProjectData::Wissel},
    {"Label10", "Track:", "Memo1", "Memo2", &TProjectData::Spoor},
};

const std::vector<std::pair<const char*, const char*>> kParameterPanels = {
    {"gbxTopMeasParms", "Top Meas. Parms"}, {"gbxZijMeasParms", "Zij Meas. Parms"},
    {"gbxSWParms", "Corrug. Parms"},        {"gbxSWParms1", "Corrug. Parms"},
    {"gbxSWParms2", "Corrug. Parms"},       {"gbxSWParms3", "Corrug. Parms"},
};

namespace {
const char* const kApp = "Max Top-Top amplit. [mm]:";
const char* const kGA = "Avg. amplitude [mm]:";
const char* const kGG = "Avg. wavelength [cm]:";
const char* const kGSD = "Grinding index [mm]:";
const char* const kLoss = "Loss [%]:";
} // namespace

const std::vector<ParameterSpec> kParameterFields = {
    {"gbxTopMeasParms", "Label15", "Pos. versine [mm]:", "Edit14", "Edit33",
     &TProjectData::TopPosP},
    {"gbxTopMeasParms", "Label16", "Neg. versine [mm]:", "Edit15", "Edit34",
     &TProjectData::TopNegP},
    {"gbxTopMeasParms", "Label17", "Pos. inclination [mm/m]:", "Edit16", "Edit35",
     &TProjectData::TopPosH},
    {"gbxTopMeasParms", "Label18", "Neg. inclination [mm/m]:", "Edit17", "Edit36",
     &TProjectData::TopNegH},
    {"gbxZijMeasParms", "Label15", "Pos. versine [mm]:", "Edit48", "Edit41",
     &TProjectData::ZijPosP},
    {"gbxZijMeasParms", "Label16", "Neg. versine [mm]:", "Edit47", "Edit42",
     &TProjectData::ZijNegP},
    {"gbxZijMeasParms", "Label17", "Pos. inclination [mm/m]:", "Edit46", "Edit43",
     &TProjectData::ZijPosH},
    {"gbxZijMeasParms", "Label18", "Neg. inclination [mm/m]:", "Edit45", "Edit44",
     &TProjectData::ZijNegH},
    {"gbxSWParms", "Label83", kApp, "edtShortWavesAPP", "edtShortWavesAPP_C",
     &TProjectData::ShortWavesAPP},
    {"gbxSWParms", "Label19", kGA, "edtShortWavesGA", "Edit37", &TProjectData::ShortWavesGA},
    {"gbxSWParms", "Label20", kGG, "edtShortWavesGG", "Edit38", &TProjectData::ShortWavesGG},
    {"gbxSWParms", "Label21", kGSD, "edtShortWavesGSD", "Edit39", &TProjectData::ShortWavesGSD},
    {"gbxSWParms", "Label79", kLoss, "edtShortWavesLoss", "Edit9", &TProjectData::ShortWavesLoss},
    {"gbxSWParms1", "Label83", kApp, "edtShortWavesAPP1", "edtShortWavesAPP1_C",
     &TProjectData::ShortWavesAPP1},
    {"gbxSWParms1", "Label19", kGA, "edtShortWavesGA1", "Edit18", &TProjectData::ShortWavesGA1},
    {"gbxSWParms1", "Label20", kGG, "edtShortWavesGG1", "Edit19", &TProjectData::ShortWavesGG1},
    {"gbxSWParms1", "Label21", kGSD, "edtShortWavesGSD1", "Edit20", &TProjectData::ShortWavesGSD1},
    {"gbxSWParms1", "Label79", kLoss, "edtShortWavesLoss1", "Edit53",
     &TProjectData::ShortWavesLoss1},
    {"gbxSWParms2", "Label83", kApp, "edtShortWavesAPP2", "edtShortWavesAPP2_C",
     &TProjectData::ShortWavesAPP2},
    {"gbxSWParms2", "Label19", kGA, "edtShortWavesGA2", "Edit50", &TProjectData::ShortWavesGA2},
    {"gbxSWParms2", "Label20", kGG, "edtShortWavesGG2", "Edit51", &TProjectData::ShortWavesGG2},
    {"gbxSWParms2", "Label21", kGSD, "edtShortWavesGSD2", "Edit52", &TProjectData::ShortWavesGSD2},
    {"gbxSWParms2", "Label79", kLoss, "edtShortWavesLoss2", "Edit49",
     &TProjectData::ShortWavesLoss2},
    {"gbxSWParms3", "Label83", kApp, "edtShortWavesAPP3", "edtShortWavesAPP3_C",
     &TProjectData::ShortWavesAPP3},
    {"gbxSWParms3", "Label19", kGA, "edtShortWavesGA3", "Edit56", &TProjectData::ShortWavesGA3},
    {"gbxSWParms3", "Label20", kGG, "edtShortWavesGG3", "Edit57", &TProjectData::ShortWavesGG3},
    {"gbxSWParms3", "Label21", kGSD, "edtShortWavesGSD3", "Edit58", &TProjectData::ShortWavesGSD3},
    {"gbxSWParms3", "Label79", kLoss, "edtShortWavesLoss3", "Edit32",
     &TProjectData::ShortWavesLoss3},
};

const std::vector<NormBoxSpec> kNormBoxes = {
    {"gbxNormTop", "NormlijnTop", "edtNormTopPos", "edtNormTopNeg", "btnNormTopChange",
     "serNormTopPos", "serNormTopNeg", true},
    {"gbxNormShortWaves", "NormlijnSW", "edtNormShortWavesPos", "edtNormShortWavesNeg",
     "btnNormShortWavesChange", "serNormShortWavesPos", "serNormShortWavesNeg", true},
    {"gbxNormShortWaves1", "NormlijnSW", "edtNormShortWavesPos1", "edtNormShortWavesNeg1",
     "btnNormShortWavesChange1", "serNormShortWavesPos1", "serNormShortWavesNeg1", true},
    {"gbxNormShortWaves2", "NormlijnSW", "edtNormShortWavesPos2", "edtNormShortWavesNeg2",
     "btnNormShortWavesChange2", "serNormShortWavesPos2", "serNormShortWavesNeg2", true},
    {"gbxNormShortWaves3", "NormlijnSW", "edtNormShortWavesPos3", "edtNormShortWavesNeg3",
     "btnNormShortWavesChange3", "serNormShortWavesPos3", "serNormShortWavesNeg3", true},
    {"gbxNormTrend", "NormlijnTrend", "edtNormTrendPos", "edtNormTrendNeg", "btnNormTrendChange",
     "serNormTrendPos", "serNormTrendNeg", false},
    {"gbxNormZij", "NormlijnZij", "edtNormZijPos", "edtNormZijNeg", "btnNormZijChange",
     "serNormZijPos", "serNormZijNeg", false},
};
