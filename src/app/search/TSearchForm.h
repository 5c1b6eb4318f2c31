#pragma once
// The search dialog: five criteria, each a switch with a limit or a text. It lives for the
// whole run, reads its texts and the saved criteria when it is created and saves the criteria
// to the language file whenever it closes, whichever way.
#include "core/ProfileSearch.h"

#include <QDialog>
#include <QString>
#include <array>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

class TSearchForm : public QDialog {
    Q_OBJECT
  public:
    explicit TSearchForm(QWidget* parent = nullptr);

    // Shows the dialog modally, centred on the screen, and waits; true when it was closed with
    // OK. The seam of the tests: they override it to work the dialog shown without a modal
    // loop, and return whether OK closed it.
    virtual bool Ask();

    // The criteria as the controls hold them; limits and texts exactly as typed.
    ostiva::SearchCriteria Criteria() const;
    // The switch captions: vertical quality, lateral quality, operator, switch/km, weld number.
    std::array<std::string, 5> Captions() const;
    // The caption of the Cancel button, also for the search's progress box.
    QString CancelCaption() const;
    // The box of the profiles a search could not read: its first line, and the last line of a
    // list cut short ("%1" takes the number left out).
    QString UnreadableCaption() const { return unreadable_; }
    QString MoreCaption() const { return more_; }

    // Every way of closing (OK, Cancel, Escape, the close box) ends here.
    void done(int result) override;

  private:
    void BuildControls();
    void FormCreate();
    void ClearBtnClick();
    void ShowOkAvailability();
    void FormClose();

    // In the order of the criteria: vertical quality, lateral quality, operator, switch/km,
    // weld number.
    std::array<QCheckBox*, 5> switches_{};
    std::array<QLineEdit*, 5> values_{};
    QPushButton* okButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QString unreadable_ = "These profiles could not be read and are left out of the search:";
    QString more_ = "... and %1 more.";
};
