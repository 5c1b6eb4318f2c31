#include "app/project/ProjectFormControls.h"

#include "app/chart/GraphKinds.h"
#include "app/chart/TProfileChart.h"
#include "app/project/TFileListBox.h"
#include "core/NormQuality.h"

#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>

using ostiva::TProjectData;

namespace {

// A wheel turned over a list that the user has not chosen goes on to the area being scrolled;
// otherwise scrolling past the list would pick another entry of it.
class WheelOnlyWithFocus : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

void TakeWheelOnlyWithFocus(QWidget* widget) {
    widget->setFocusPolicy(Qt::StrongFocus);
    widget->installEventFilter(new WheelOnlyWithFocus(widget));
}

QLabel* NewLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// The width a line edit needs to show `sample` in its own font.
int WidthOf(const QWidget* widget, const QString& sample) {
    return widget->fontMetrics().horizontalAdvance(sample) + 14;
}

QLineEdit* NewEdit(ProjectFormControls& c, const QString& name, QWidget* parent, bool readOnly) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(readOnly);
    c.edits.insert(name, edit);
    return edit;
}

QLabel* NewCaption(ProjectFormControls& c, const QString& key, const QString& text,
                   QWidget* parent) {
    // A key that serves several panels names its first label; the copies get a suffix.
    const QString name =
        c.captions.contains(key) ? key + "_" + QString::number(c.captions.count(key)) : key;
    QLabel* label = NewLabel(name, text, parent);
    c.captions.insert(key, label);
    return label;
}

QGroupBox* NewGroup(ProjectFormControls& c, const QString& name, const QString& caption,
                    QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    // Panels share one place; the one on top must cover the one under it.
    box->setAutoFillBackground(true);
    c.groups.insert(name, box);
    return box;
}

QWidget* BuildHeaderArea(ProjectFormControls& c, QWidget* parent) {
    auto* area = new QWidget(parent);
    area->setObjectName("pnlHeader");
    c.pnlHeader = area;
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(2);
    // Column marks of a comparison, above the two header columns.
    const char* marks[] = {"Label48", "Label49", "Label50", "Label51"};
    for (int i = 0; i < 4; ++i) {
        QLabel* mark = NewLabel(marks[i], i % 2 == 0 ? "I" : "II", area);
        QFont bold = mark->font();
        bold.setBold(true);
        mark->setFont(bold);
        mark->hide();
        c.comparisonOnly << mark;
        grid->addWidget(mark, 0, i < 2 ? 1 + i : 4 + (i - 2));
    }
    const int leftRows = 7;
    for (int i = 0; i < int(kHeaderFields.size()); ++i) {
        const HeaderFieldSpec& spec = kHeaderFields[std::size_t(i)];
        const int row = 1 + (i < leftRows ? i : i - leftRows);
        const int column = i < leftRows ? 0 : 3;
        grid->addWidget(NewCaption(c, spec.captionKey, spec.builtInCaption, area), row, column);
        QWidget* field;
        QWidget* second;
        if (QString(spec.field) == "Memo1") {
            c.Memo1 = new QPlainTextEdit(area);
            c.Memo1->setObjectName("Memo1");
            c.Memo1->setReadOnly(true);
            c.Memo1->setMaximumHeight(46);
            // Tab moves on to the next field, as in every other field; a tab character
            // typed into the track would be saved into the file.
            c.Memo1->setTabChangesFocus(true);
            c.Memo2 = new QPlainTextEdit(area);
            c.Memo2->setObjectName("Memo2");
            c.Memo2->setReadOnly(true);
            c.Memo2->setMaximumHeight(46);
            c.Memo2->setTabChangesFocus(true);
            field = c.Memo1;
            second = c.Memo2;
        } else {
            field = NewEdit(c, spec.field, area, true);
            second = NewEdit(c, spec.secondField, area, true);
            field->setMinimumWidth(WidthOf(field, "00-00-0000"));
        }
        second->hide();
        c.comparisonOnly << second;
        grid->addWidget(field, row, column + 1);
        grid->addWidget(second, row, column + 2);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    // The fields keep together under their marks when the panels beside them are higher.
    grid->setRowStretch(1 + leftRows, 1);
    return area;
}

QGroupBox* BuildParameterPanel(ProjectFormControls& c, const char* name, const char* caption,
                               QWidget* parent) {
    QGroupBox* box = NewGroup(c, name, caption, parent);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(2);
    int row = 0;
    for (const ParameterSpec& spec : kParameterFields) {
        if (QString(spec.panel) != name)
            continue;
        grid->addWidget(NewCaption(c, spec.captionKey, spec.builtInCaption, box), row, 0);
        QLineEdit* field = NewEdit(c, spec.field, box, true);
        QLineEdit* second = NewEdit(c, spec.secondField, box, true);
        for (QLineEdit* edit : {field, second}) {
            edit->setAlignment(Qt::AlignRight);
            // Room for a "%5.2f" text such as "-12.34".
            edit->setMinimumWidth(WidthOf(edit, "-000.00"));
            edit->setMaximumWidth(WidthOf(edit, "-00000.00"));
        }
        second->hide();
        c.comparisonOnly << second;
        grid->addWidget(field, row, 1);
        grid->addWidget(second, row, 2);
        ++row;
    }
    return box;
}

QGroupBox* BuildNormBox(ProjectFormControls& c, const NormBoxSpec& spec, QWidget* parent) {
    QGroupBox* box = NewGroup(c, spec.box, spec.builtInCaption, parent);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(2);
    const QString suffix = QString(spec.box).mid(7); // "Top", "ShortWaves1", ...
    const char* rows[2][2] = {{"Label23", "Pos."}, {"Label24", "Neg."}};
    const char* fields[2] = {spec.posField, spec.negField};
    for (int r = 0; r < 2; ++r) {
        QLabel* caption =
            spec.languageRowCaptions
                ? NewCaption(c, rows[r][0], rows[r][1], box)
                : NewLabel(QString(r == 0 ? "lblPos" : "lblNeg") + suffix, rows[r][1], box);
        grid->addWidget(caption, r, 0);
        QLineEdit* edit = NewEdit(c, fields[r], box, false);
        edit->setText("0.0");
        edit->setMinimumWidth(WidthOf(edit, "-0.000"));
        edit->setMaximumWidth(WidthOf(edit, "-0.00000"));
        grid->addWidget(edit, r, 1);
        grid->addWidget(NewLabel("lblMm" + QString::number(r) + suffix, "mm", box), r, 2);
    }
    auto* button = new QPushButton("change", box);
    button->setObjectName(spec.button);
    c.normButtons.insert(spec.button, button);
    grid->addWidget(button, 2, 0, 1, 3);
    return box;
}

QWidget* BuildSpeedPanel(ProjectFormControls& c, QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName("pnlVelInp");
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->addWidget(NewLabel("lblVelInpCap", "V (km/h)", panel), 0, 0);
    grid->addWidget(NewLabel("lblNormCap", "A (mrad)", panel), 0, 1);
    c.cbxVelInp = new QComboBox(panel);
    c.cbxVelInp->setObjectName("cbxVelInp");
    c.cbxNormVal = new QComboBox(panel);
    c.cbxNormVal->setObjectName("cbxNormVal");
    c.cbxNormVal->setEnabled(false);
    for (const ostiva::SpeedLimit& limit : ostiva::kSpeedTable) {
        c.cbxVelInp->addItem(QString::number(limit.speed));
        c.cbxNormVal->addItem(limit.AText);
    }
    for (QComboBox* list : {c.cbxVelInp, c.cbxNormVal})
        TakeWheelOnlyWithFocus(list);
    grid->addWidget(c.cbxVelInp, 1, 0);
    grid->addWidget(c.cbxNormVal, 1, 1);
    return panel;
}

QGroupBox* BuildQualityPanel(ProjectFormControls& c, const char* name, const char* caption,
                             QLabel** quality, QLabel** speed, QLabel** qualityAdd,
                             QLabel** speedAdd, QWidget* parent) {
    QGroupBox* box = NewGroup(c, name, caption, parent);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(4, 2, 4, 2);
    const QString base = QString(name) == "grpQuality" ? "" : "Zij";
    QLabel* qiCaption = NewLabel("lblQICap" + base, "QI:", box);
    QFont bold = qiCaption->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    qiCaption->setFont(bold);
    // Empty until a profile is shown: a sample value would read as a measurement.
    *quality = NewLabel(base.isEmpty() ? "lblQuality" : "lblQIZij", "", box);
    *qualityAdd = NewLabel(base.isEmpty() ? "lblQualityAdd" : "lblQIZijAdd", "", box);
    *speed = NewLabel(base.isEmpty() ? "lblVel" : "lblVelZij", "", box);
    *speedAdd = NewLabel(base.isEmpty() ? "lblVelAdd" : "lblVelZijAdd", "", box);
    for (QLabel* label : {*quality, *qualityAdd})
        label->setFont(bold);
    for (QLabel* label : {*qualityAdd, *speedAdd}) {
        label->hide();
        c.comparisonOnly << label;
    }
    grid->addWidget(qiCaption, 0, 0);
    grid->addWidget(*quality, 0, 1);
    grid->addWidget(*qualityAdd, 0, 2);
    grid->addWidget(NewLabel("lblVelCap" + base, "V [km/h]:", box), 1, 0);
    grid->addWidget(*speed, 1, 1);
    grid->addWidget(*speedAdd, 1, 2);
    return box;
}

// The panel area below the chart: parameter panels and norm-limit boxes. Panels of one kind
// share one grid cell; the graph kind decides which one is seen.
QWidget* BuildCalcParms(ProjectFormControls& c, QWidget* parent) {
    auto* area = new QWidget(parent);
    area->setObjectName("gbxCalcParms");
    c.gbxCalcParms = area;
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    QLabel* markI = NewLabel("Label52", "I", area);
    QLabel* markII = NewLabel("Label53", "II", area);
    // Centred over the panels' two value columns, which sit at the panels' right edge.
    for (QLabel* mark : {markI, markII}) {
        mark->setFixedWidth(WidthOf(mark, "-00000.00")); // in the fields' font
        QFont bold = mark->font();
        bold.setBold(true);
        mark->setFont(bold);
        mark->setAlignment(Qt::AlignCenter);
        mark->hide();
        c.comparisonOnly << mark;
    }
    auto* marks = new QHBoxLayout;
    marks->setContentsMargins(0, 0, 6, 0); // a panel's right margin and frame
    marks->addStretch();
    marks->addWidget(markI);
    marks->addWidget(markII);
    grid->addLayout(marks, 0, 0);
    // The lateral parameters are seen together with the vertical ones (kinds 4 and 5), so
    // they stand below them rather than on top of them.
    for (const auto& [name, caption] : kParameterPanels)
        grid->addWidget(BuildParameterPanel(c, name, caption, area),
                        std::string_view(name) == "gbxZijMeasParms" ? 2 : 1, 0);
    for (const NormBoxSpec& spec : kNormBoxes)
        grid->addWidget(BuildNormBox(c, spec, area), 1, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    // Free height goes below the panels, not between them and the marks.
    grid->setRowStretch(3, 1);
    grid->setAlignment(Qt::AlignTop);
    return area;
}

// Speed list and quality index; both quality panels share one place.
QWidget* BuildSpeedAndQuality(ProjectFormControls& c, QWidget* parent) {
    auto* area = new QWidget(parent);
    area->setObjectName("pnlSpeedQuality");
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(BuildSpeedPanel(c, area));
    auto* quality = new QGridLayout;
    quality->addWidget(BuildQualityPanel(c, "grpQuality", "Quality Assesment", &c.lblQuality,
                                         &c.lblVel, &c.lblQualityAdd, &c.lblVelAdd, area),
                       0, 0);
    quality->addWidget(BuildQualityPanel(c, "gbxQIZij", "Quality Zij", &c.lblQIZij, &c.lblVelZij,
                                         &c.lblQIZijAdd, &c.lblVelZijAdd, area),
                       0, 0);
    column->addLayout(quality);
    column->addStretch();
    return area;
}

// Tab and Shift+Tab follow the reading order: the list, the graph kinds, the header fields
// (each with its comparison partner), the speed list, the limit boxes and then the parameter
// fields. Hidden and disabled controls are passed over by the toolkit.
void SetReadingTabOrder(const ProjectFormControls& c) {
    QList<QWidget*> order = {c.FileListBox1, c.tabGraficType};
    for (const HeaderFieldSpec& spec : kHeaderFields)
        order << c.pnlHeader->findChild<QWidget*>(spec.field)
              << c.pnlHeader->findChild<QWidget*>(spec.secondField);
    order << c.cbxVelInp;
    for (const NormBoxSpec& box : kNormBoxes)
        order << c.Edit(box.posField) << c.Edit(box.negField) << c.normButtons.value(box.button);
    for (const ParameterSpec& spec : kParameterFields)
        order << c.Edit(spec.field) << c.Edit(spec.secondField);
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace

std::unique_ptr<ProjectFormControls> BuildProjectFormControls(QWidget* form) {
    auto c = std::make_unique<ProjectFormControls>();
    auto* outer = new QHBoxLayout(form);
    outer->setContentsMargins(2, 2, 2, 2);
    auto* splitter = new QSplitter(Qt::Horizontal, form);
    outer->addWidget(splitter);

    // Left: the profile list.
    auto* listSide = new QWidget(splitter);
    listSide->setObjectName("pnlFileList");
    c->pnlFileList = listSide;
    auto* listLayout = new QVBoxLayout(listSide);
    listLayout->setContentsMargins(0, 0, 0, 0);
    c->Label1 = NewCaption(*c, "Label1", "Report Name:", listSide);
    c->FileListBox1 = new TFileListBox(listSide);
    c->FileListBox1->setObjectName("FileListBox1");
    listLayout->addWidget(c->Label1);
    listLayout->addWidget(c->FileListBox1);

    // Right: tab strip with the company name, chart, header fields and panels. A window
    // lower or narrower than they need scrolls them; squeezed, they would cover each other.
    auto* mainScroll = new QScrollArea(splitter);
    mainScroll->setObjectName("scrMain");
    mainScroll->setFrameShape(QFrame::NoFrame);
    mainScroll->setWidgetResizable(true);
    auto* main = new QWidget(mainScroll);
    auto* mainLayout = new QVBoxLayout(main);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(2);
    auto* tabRow = new QHBoxLayout;
    c->tabGraficType = new QTabBar(main);
    c->tabGraficType->setObjectName("tabGraficType");
    c->tabGraficType->setExpanding(false);
    c->tabGraficType->setDrawBase(false);
    for (const GraphKindSpec& kind : GraphKinds())
        c->tabGraficType->addTab(kind.builtInCaption);
    c->Label22 = NewLabel("Label22", kBuiltInCompanyName, main);
    QFont companyFont = c->Label22->font();
    companyFont.setBold(true);
    c->Label22->setFont(companyFont);
    tabRow->addWidget(c->tabGraficType);
    tabRow->addStretch();
    tabRow->addWidget(c->Label22);
    mainLayout->addLayout(tabRow);

    c->chtDisplay = new TProfileChart(main);
    c->chtDisplay->setObjectName("chtDisplay");
    c->chtDisplay->setMinimumHeight(220);
    mainLayout->addWidget(c->chtDisplay, 1);

    // Header fields and panels scroll sideways in a narrow window instead of being cut off;
    // speed and quality stay beside them, in sight at any width.
    auto* bottomRow = new QHBoxLayout;
    auto* bottomScroll = new QScrollArea(main);
    bottomScroll->setObjectName("scrDetails");
    c->scrDetails = bottomScroll;
    bottomScroll->setFrameShape(QFrame::NoFrame);
    bottomScroll->setWidgetResizable(true);
    bottomScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* details = new QWidget(bottomScroll);
    auto* bottom = new QHBoxLayout(details);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(BuildHeaderArea(*c, details), 5);
    bottom->addWidget(BuildCalcParms(*c, details), 6);
    bottomScroll->setWidget(details);
    FitDetailsHeight(*c);
    bottomRow->addWidget(bottomScroll, 1);
    bottomRow->addWidget(BuildSpeedAndQuality(*c, main), 0, Qt::AlignTop);
    mainLayout->addLayout(bottomRow);

    auto* footer = new QHBoxLayout;
    c->lblDir_1 = NewLabel("lblDir_1", "", main);
    c->lblDir_2 = NewLabel("lblDir_2", "", main);
    c->lblDir_1->hide();
    c->lblDir_2->hide();
    c->Label54 = NewLabel("Label54", "www.ostiva-rail.example", main);
    footer->addWidget(c->lblDir_1);
    footer->addWidget(c->lblDir_2);
    footer->addStretch();
    footer->addWidget(c->Label54);
    mainLayout->addLayout(footer);
    mainScroll->setWidget(main);

    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({WidthOf(c->FileListBox1, "zq000000_0000.xml") + 24, 1000});
    SetReadingTabOrder(*c);
    return c;
}

void FitDetailsHeight(ProjectFormControls& c) {
    // Asked directly: the enclosing layout may still hold the sizes from before. Hidden panels
    // count through the height already set, so it only grows.
    const int needed =
        std::max(c.pnlHeader->sizeHint().height(), c.gbxCalcParms->sizeHint().height()) +
        c.scrDetails->horizontalScrollBar()->sizeHint().height();
    c.scrDetails->setFixedHeight(std::max(needed, c.scrDetails->minimumHeight()));
}
