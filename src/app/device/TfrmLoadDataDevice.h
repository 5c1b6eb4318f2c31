#pragma once
// The download dialog: its Load button runs the transfer program upload2 again and again, one
// fetched profile file per run, until the program's result file says that nothing is left or
// that the transfer is to stop. The log of the exchange stays shown until the user closes it.
#include <QDialog>
#include <QPointer>
#include <QString>

class QCloseEvent;
class QPlainTextEdit;
class QPushButton;

class TfrmLoadDataDevice : public QDialog {
    Q_OBJECT
  public:
    // `mainWindow` owns the dialog and is disabled while the transfer program runs;
    // `projectDir` (ending with a path separator) is the directory the program fetches into.
    TfrmLoadDataDevice(QWidget* mainWindow, const QString& projectDir);

    QString ProjectDir() const { return projectDir_; }
    // True while an exchange runs; the dialog cannot be closed meanwhile.
    bool Running() const { return running_; }

    void butLoadClick();
    void butCloseClick();

    // Escape and the window system's close request end here: refused during an exchange.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Runs the transfer program once and waits for its end; false when it could not start.
    bool RunAndWait(const QString& commandLine);
    void SetButtonsEnabled(bool enabled);

    QPointer<QWidget> mainWindow_;
    QString projectDir_;
    bool running_ = false;
    QPlainTextEdit* memInfo_ = nullptr;
    QPushButton* butLoad_ = nullptr;
    QPushButton* butClose_ = nullptr;
};
