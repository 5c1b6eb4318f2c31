#pragma once
// The about box: the program's name, its full file version and the maker's addresses. Made
// once and kept for the whole run; showing it never blocks the main window.
#include <QDialog>

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    static const QString kInternetAddress;
    static const QString kEmailAddress;

    explicit TAboutBox(QWidget* parent = nullptr);

    // Shows the box, or brings it back to the front when it is already shown.
    void ShowAbout();

    void FormActivate(); // fills the version line
    void InternetAddressClick();
    void EmailAddressClick();
    void OKButtonClick();

  protected:
    bool event(QEvent* event) override;

  private:
    QLabel* version_ = nullptr;
};

// "Version:    " and the full file version; empty for a program without a version.
QString AboutVersionLine(const QString& fileVersion);
