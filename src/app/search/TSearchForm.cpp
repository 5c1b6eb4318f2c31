#include "app/search/TSearchForm.h"

#include "app/common/DecimalField.h"
#include "app/common/Dialogs.h"
#include "app/common/LanguageTexts.h"
#include "app/common/WindowPlacement.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using ostiva::SearchCriteria;

namespace {

constexpr const char* kSection = "SearchProfilesForm";

// One criterion: its switch, its value, where the language file keeps their texts and which
// fields of the criteria they fill.
struct CriterionSpec {
    const char* switchName;
    const char* stateKey;
    const char* captionSection;
    const char* captionKey;
    const char* builtInCaption;
    const char* signName; // the "at most" sign of a limit; nullptr for a text
    const char* valueName;
    const char* valueKey;
    const char* defaultValue; // when the language file lacks the key
    const char* builtInValue; // before the language file is read
    bool builtInOn;
    bool SearchCriteria::*on;
    std::string SearchCriteria::*value;
};

// In the order the search describes the criteria and the language file stores them.
const std::array<CriterionSpec, 5> kCriteria = {{
    {"cbQITop", "QITopChecked", kSection, "lblQITop", "QI Top (vertical)", "lblQITopSign",
     "eQITopLimit", "QITopLimit", "1.0", "1.00", true, &SearchCriteria::qiTopOn,
     &SearchCriteria::qiTopLimit},
    {"cbQIZij", "QIZijChecked", kSection, "lblQIZij", "QI Zij (lateral)", "lblQIZijSign",
     "eQIZijLimit", "QIZijLimit", "1.0", "1.00", true, &SearchCriteria::qiZijOn,
     &SearchCriteria::qiZijLimit},
    {"CheckBox1", "CheckBox1", "ProjectFormLabels", "Label8", "Operator:", nullptr, "Edit1",
     "Edit1", "", "", false, &SearchCriteria::operatorOn, &SearchCriteria::operatorText},
    {"CheckBox2", "CheckBox2", "ProjectFormLabels", "Label7", "Switch / Km:", nullptr, "Edit2",
     "Edit2", "", "", false, &SearchCriteria::switchOn, &SearchCriteria::switchText},
    {"CheckBox3", "CheckBox3", "ProjectFormLabels", "Label13", "Weld number:", nullptr, "Edit3",
     "Edit3", "", "", false, &SearchCriteria::weldNumberOn, &SearchCriteria::weldNumberText},
}};

QPushButton* AddButton(QWidget* parent, QHBoxLayout* row, const char* name, const char* text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    row->addWidget(button);
    return button;
}

} // namespace

TSearchForm::TSearchForm(QWidget* parent) : QDialog(parent) {
    setObjectName(kSection);
    setWindowTitle("Search profiles");
    BuildControls();
    FormCreate();
    adjustSize();
    CenterOnScreen(*this);
}

void TSearchForm::BuildControls() {
    auto* frame = new QFrame(this);
    frame->setObjectName("Bevel1");
    frame->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(frame);
    for (std::size_t i = 0; i < kCriteria.size(); ++i) {
        const CriterionSpec& spec = kCriteria[i];
        const int row = int(i);
        switches_[i] = new QCheckBox(spec.builtInCaption, frame);
        switches_[i]->setObjectName(spec.switchName);
        switches_[i]->setChecked(spec.builtInOn);
        grid->addWidget(switches_[i], row, 0);
        if (spec.signName) {
            auto* sign = new QLabel(QString(QChar(0x2264)), frame);
            sign->setObjectName(spec.signName);
            grid->addWidget(sign, row, 1);
        }
        values_[i] = new QLineEdit(spec.builtInValue, frame);
        values_[i]->setObjectName(spec.valueName);
        grid->addWidget(values_[i], row, 2);
    }
    grid->setColumnMinimumWidth(2, 160);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    okButton_ = AddButton(this, buttons, "OKbtn", "OK");
    clearButton_ = AddButton(this, buttons, "Clearbtn", "Reset");
    cancelButton_ = AddButton(this, buttons, "Cancelbtn", "Cancel");
    okButton_->setDefault(true);
    // A limit that is no number would silently read as 0 and find nothing: OK waits for it.
    for (std::size_t i = 0; i < kCriteria.size(); ++i) {
        if (!kCriteria[i].signName)
            continue;
        auto* limit = new DecimalField(values_[i]);
        connect(limit, &DecimalField::Checked, this, [this] { ShowOkAvailability(); });
    }
    ShowOkAvailability();
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(clearButton_, &QPushButton::clicked, this, [this] { ClearBtnClick(); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    // Fixed, but as large as the texts of the language need.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TSearchForm::FormCreate() {
    try {
        LanguageTexts texts;
        setWindowTitle(texts.Text(kSection, "Title"));
        okButton_->setText(texts.Text(kSection, "OKbtn"));
        clearButton_->setText(texts.Text(kSection, "Clearbtn"));
        cancelButton_->setText(texts.Text(kSection, "Cancelbtn"));
        unreadable_ = texts.Value("SearchResults", "Unreadable", unreadable_);
        more_ = texts.Value("SearchResults", "More", more_);
        for (std::size_t i = 0; i < kCriteria.size(); ++i) {
            const CriterionSpec& spec = kCriteria[i];
            switches_[i]->setText(texts.Text(spec.captionSection, spec.captionKey));
            values_[i]->setText(texts.Value(kSection, spec.valueKey, spec.defaultValue));
            switches_[i]->setChecked(texts.Value(kSection, spec.stateKey, "False") == "True");
        }
    } catch (const std::exception& e) {
        ShowFileError(this, QString::fromUtf8(e.what()));
    }
}

void TSearchForm::ShowOkAvailability() {
    bool numbers = true;
    for (QLineEdit* value : values_)
        if (auto* limit = value->findChild<DecimalField*>(QString(), Qt::FindDirectChildrenOnly))
            numbers = numbers && limit->HoldsNumber();
    okButton_->setEnabled(numbers);
}

void TSearchForm::ClearBtnClick() {
    for (QCheckBox* criterionSwitch : switches_)
        criterionSwitch->setChecked(false);
}

void TSearchForm::FormClose() {
    try {
        LanguageTexts texts;
        for (std::size_t i = 0; i < kCriteria.size(); ++i)
            texts.Write(kSection, kCriteria[i].valueKey, values_[i]->text());
        for (std::size_t i = 0; i < kCriteria.size(); ++i)
            texts.Write(kSection, kCriteria[i].stateKey,
                        switches_[i]->isChecked() ? "True" : "False");
    } catch (const std::exception& e) {
        ShowFileError(this, QString::fromUtf8(e.what()));
    }
}

void TSearchForm::done(int result) {
    FormClose();
    QDialog::done(result);
}

bool TSearchForm::Ask() {
    adjustSize();
    CenterOnScreen(*this);
    return exec() == QDialog::Accepted;
}

SearchCriteria TSearchForm::Criteria() const {
    SearchCriteria criteria;
    for (std::size_t i = 0; i < kCriteria.size(); ++i) {
        criteria.*kCriteria[i].on = switches_[i]->isChecked();
        criteria.*kCriteria[i].value = values_[i]->text().toStdString();
    }
    return criteria;
}

std::array<std::string, 5> TSearchForm::Captions() const {
    std::array<std::string, 5> captions;
    for (std::size_t i = 0; i < kCriteria.size(); ++i)
        captions[i] = switches_[i]->text().toStdString();
    return captions;
}

QString TSearchForm::CancelCaption() const {
    return cancelButton_->text();
}
