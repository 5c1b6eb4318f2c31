#pragma once
// The controls of a project window and the tables that tie them to the profile record, the
// language file and the chart.
#include "core/ProjectData.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTabBar;
class QWidget;
class TFileListBox;
class TProfileChart;

using RecordText = std::string ostiva::TProjectData::*;

// One header field: its caption label, its edit control and the comparison column's control.
struct HeaderFieldSpec {
    const char* captionKey; // empty: no caption label
    const char* builtInCaption;
    const char* field;
    const char* secondField;
    RecordText text; // nullptr for Edit2, which shows the file name
};
extern const std::vector<HeaderFieldSpec> kHeaderFields;

// One row of a parameter panel.
struct ParameterSpec {
    const char* panel;
    const char* captionKey;
    const char* builtInCaption;
    const char* field;
    const char* secondField;
    RecordText text;
};
extern const std::vector<ParameterSpec> kParameterFields;
// The six parameter panels with their built-in captions.
extern const std::vector<std::pair<const char*, const char*>> kParameterPanels;

// One norm-limit box.
struct NormBoxSpec {
    const char* box;
    const char* builtInCaption;
    const char* posField;
    const char* negField;
    const char* button;
    const char* posCurve;
    const char* negCurve;
    bool languageRowCaptions; // "Pos."/"Neg." read from Label23/Label24
};
// In the order the limit lines are drawn: Top, short waves, bands 1..3, trend, lateral.
extern const std::vector<NormBoxSpec> kNormBoxes;

// What the company name shows while no profile is.
inline constexpr const char* kBuiltInCompanyName = "Company name";

struct ProjectFormControls {
    QTabBar* tabGraficType = nullptr;
    QLabel* Label22 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label54 = nullptr;
    QWidget* pnlFileList = nullptr; // Label1 and the profile list
    TFileListBox* FileListBox1 = nullptr;
    TProfileChart* chtDisplay = nullptr;
    QWidget* gbxCalcParms = nullptr;
    QWidget* pnlHeader = nullptr;      // the header fields in a grid: caption, I, II per side
    QScrollArea* scrDetails = nullptr; // header area and panels, scrolled sideways
    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QComboBox* cbxVelInp = nullptr;
    QComboBox* cbxNormVal = nullptr;
    QLabel* lblQuality = nullptr;
    QLabel* lblVel = nullptr;
    QLabel* lblQIZij = nullptr;
    QLabel* lblVelZij = nullptr;
    QLabel* lblQualityAdd = nullptr;
    QLabel* lblVelAdd = nullptr;
    QLabel* lblQIZijAdd = nullptr;
    QLabel* lblVelZijAdd = nullptr;
    QLabel* lblDir_1 = nullptr;
    QLabel* lblDir_2 = nullptr;

    QMap<QString, QLineEdit*> edits;         // every line edit by its name
    QMultiMap<QString, QLabel*> captions;    // caption labels by language key
    QMap<QString, QGroupBox*> groups;        // panels and boxes by name
    QMap<QString, QPushButton*> normButtons; // the seven change buttons
    QList<QWidget*> comparisonOnly;          // hidden in a project window

    QLineEdit* Edit(const QString& name) const { return edits.value(name); }
};

// Creates every control of the window inside `form`, with the built-in texts.
std::unique_ptr<ProjectFormControls> BuildProjectFormControls(QWidget* form);
// Makes the header area and the panels at least as high as the header area and the shown
// panels need (every panel is shown while the window is built).
void FitDetailsHeight(ProjectFormControls& c);
