#pragma once
// The download dialog: its Load button runs the transfer program upload2 again and again, one
// fetched profile file per run, until the program's result file says that nothing is left or
// that the transfer is to stop, or the user cancels. The log of the exchange stays shown until
// the user closes it.
#include <QDialog>
#include <QPointer>
#include <QString>

class QPlainTextEdit;
class QProcess;
class QPushButton;
class QTimer;

class TfrmLoadDataDevice : public QDialog {
    Q_OBJECT
  public:
    // `mainWindow` owns the dialog and is disabled while the transfer program runs;
    // `projectDir` (ending with a path separator) is the directory the program fetches into.
    TfrmLoadDataDevice(QWidget* mainWindow, const QString& projectDir);

    QString ProjectDir() const { return projectDir_; }
    // True while an exchange runs; Load and Close are disabled meanwhile.
    bool Running() const { return running_; }
    // How long a cancelled program may take to end before it is killed.
    void SetTerminateGrace(int milliseconds) { terminateGraceMs_ = milliseconds; }

    void butLoadClick();
    void butCloseClick();
    // Ends the running transfer program; the exchange then stops, and what was fetched stays.
    void butCancelClick();

    // Escape and the window system's close request: during an exchange they cancel it, and the
    // dialog closes once the program has ended.
    void reject() override;

  private:
    enum class RunOutcome { NotStarted, Ended, Cancelled };
    // Runs the transfer program once and waits for its end.
    RunOutcome RunAndWait(const QString& commandLine);
    // Sends the running program and whatever it started the signal (terminate or kill).
    void SignalProgram(bool kill);
    void SetButtonsEnabled(bool enabled);

    QPointer<QWidget> mainWindow_;
    QString projectDir_;
    bool running_ = false;
    bool cancelled_ = false;
    bool closeWhenEnded_ = false;
    int terminateGraceMs_ = 3000;
    QProcess* process_ = nullptr; // the running program, while it runs
    qint64 programId_ = 0;        // its process id, until it has been waited for
    QTimer* killTimer_ = nullptr;
    QPlainTextEdit* memInfo_ = nullptr;
    QPushButton* butLoad_ = nullptr;
    QPushButton* butClose_ = nullptr;
    QPushButton* butCancel_ = nullptr;
};
