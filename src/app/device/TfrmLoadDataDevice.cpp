#include "app/device/TfrmLoadDataDevice.h"

#include "app/common/Dialogs.h"
#include "app/device/DeviceDownload.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTimer>
#include <QVBoxLayout>
#include <cerrno>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#endif
#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace {

constexpr const char* kResultFile = "result";
constexpr const char* kCancelled = "Transfer cancelled.";

// QProcess gives no number for a failed start; this is the one the system gives for the
// likely cause.
int StartErrorCode(const QString& program) {
    const QFileInfo file(program);
    if (program.isEmpty() || !file.exists())
        return ENOENT;
    return file.isExecutable() ? ENOEXEC : EACCES;
}

struct ResultLine {
    bool ok = false;
    QString line;
};

// The first line of the result file, without its line end; empty for an empty file.
ResultLine ReadResultLine(QWidget* parent) {
    QFile file(kResultFile);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowError(parent, QStringLiteral("Can't open file: result"));
        return {};
    }
    QByteArray bytes = file.readLine();
    if (file.error() != QFileDevice::NoError) {
        ShowError(parent, QStringLiteral("Error reading file: result"));
        return {};
    }
    while (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    return {true, QString::fromLocal8Bit(bytes)};
}

} // namespace

TfrmLoadDataDevice::TfrmLoadDataDevice(QWidget* mainWindow, const QString& projectDir)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      mainWindow_(mainWindow), projectDir_(projectDir) {
    setObjectName("frmLoadDataDevice");
    setWindowTitle("Load Data From Device");

    memInfo_ = new QPlainTextEdit(this);
    memInfo_->setObjectName("memInfo");
    memInfo_->setReadOnly(true);
    memInfo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memInfo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memInfo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memInfo_->setPlainText("Press Load button to begin loading...");
    butLoad_ = new QPushButton("Load", this);
    butLoad_->setObjectName("butLoad");
    butLoad_->setAutoDefault(false);
    butCancel_ = new QPushButton("Cancel", this);
    butCancel_->setObjectName("butCancel");
    butCancel_->setAutoDefault(false);
    butCancel_->setEnabled(false);
    butClose_ = new QPushButton("Close", this);
    butClose_->setObjectName("butClose");
    butClose_->setDefault(true);
    killTimer_ = new QTimer(this);
    killTimer_->setSingleShot(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(butLoad_);
    buttons->addWidget(butCancel_);
    buttons->addWidget(butClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memInfo_, 1);
    layout->addLayout(buttons);
    setFixedSize(480, 320);

    connect(butLoad_, &QPushButton::clicked, this, &TfrmLoadDataDevice::butLoadClick);
    connect(butCancel_, &QPushButton::clicked, this, &TfrmLoadDataDevice::butCancelClick);
    connect(butClose_, &QPushButton::clicked, this, &TfrmLoadDataDevice::butCloseClick);
    connect(killTimer_, &QTimer::timeout, this, [this] { SignalProgram(true); });
}

void TfrmLoadDataDevice::butLoadClick() {
    if (running_)
        return;
    const QScopedValueRollback<bool> running(running_, true);
    cancelled_ = false;
    SetButtonsEnabled(false);
    memInfo_->clear();
    memInfo_->appendPlainText("Receiving files from device...");
    const QString commandLine = QString(kTransferProgram) + " " + projectDir_;
    for (;;) {
        memInfo_->appendPlainText("Start: " + commandLine);
        // A result left from an earlier run must not be taken for this run's.
        QFile::remove(kResultFile);
        const RunOutcome outcome = RunAndWait(commandLine);
        if (outcome == RunOutcome::Cancelled)
            memInfo_->appendPlainText(kCancelled);
        if (outcome != RunOutcome::Ended)
            break;
        const ResultLine result = ReadResultLine(this);
        if (!result.ok)
            break;
        memInfo_->appendPlainText("Current file: " + result.line);
        if (result.line == "STOP" || result.line == "NOTHING")
            break;
    }
    // The result file is the exchange's own; it has no place in the project afterwards.
    QFile::remove(kResultFile);
    SetButtonsEnabled(true);
    butLoad_->setFocus();
    if (std::exchange(closeWhenEnded_, false))
        QDialog::reject();
}

void TfrmLoadDataDevice::butCloseClick() {
    if (!running_)
        accept();
}

void TfrmLoadDataDevice::butCancelClick() {
    if (!running_ || cancelled_)
        return;
    cancelled_ = true;
    butCancel_->setEnabled(false);
    if (process_) {
        SignalProgram(false);
        killTimer_->start(terminateGraceMs_);
    }
}

void TfrmLoadDataDevice::reject() {
    if (!running_) {
        QDialog::reject();
        return;
    }
    closeWhenEnded_ = true;
    butCancelClick();
}

TfrmLoadDataDevice::RunOutcome TfrmLoadDataDevice::RunAndWait(const QString& commandLine) {
    const QString program = FindProgram(kTransferProgram);
    QProcess process;
    process.setProgram(program);
    // One argument, no shell: a directory with a blank arrives whole.
    process.setArguments({projectDir_});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* arguments) { arguments->flags |= CREATE_NO_WINDOW; });
#endif
#ifdef Q_OS_UNIX
    // A group of its own, so that a cancel also ends whatever the program started.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
    if (!program.isEmpty()) {
        // No other command may start while the program runs, yet the log stays scrollable and
        // Cancel reachable: a dialog is a window of its own and can be enabled again under
        // its disabled owner. The boxes below come after, as a box owned by a disabled window
        // could not be answered.
        if (mainWindow_)
            mainWindow_->setEnabled(false);
        setEnabled(true);
        butCancel_->setEnabled(!cancelled_);
        butCancel_->setFocus();
        const auto enableAgain = qScopeGuard([this] {
            process_ = nullptr;
            killTimer_->stop();
            butCancel_->setEnabled(false);
            if (mainWindow_)
                mainWindow_->setEnabled(true);
        });
        bool ended = false;
        QEventLoop loop;
        connect(&process, &QProcess::finished, &loop, [&] {
            ended = true;
            loop.quit();
        });
        connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) {
                ended = true;
                loop.quit();
            }
        });
        process.start();
        if (process.state() != QProcess::NotRunning) {
            process_ = &process;
            programId_ = process.processId();
        }
        if (!ended)
            loop.exec();
        // The loop also ends when the application quits: the program must not outlive it.
        if (process.state() != QProcess::NotRunning) {
            cancelled_ = true;
            SignalProgram(true);
            process.waitForFinished(-1);
        }
        // Whatever the program started and left behind goes with it.
        if (cancelled_ && programId_ > 0)
            SignalProgram(true);
        programId_ = 0;
    }
    if (program.isEmpty() || process.error() == QProcess::FailedToStart) {
        ShowError(this, QString("Can't run process: %1    ErrorCode=%2")
                            .arg(commandLine, QString::number(StartErrorCode(program))));
        return RunOutcome::NotStarted;
    }
    if (cancelled_)
        return RunOutcome::Cancelled;
    const bool bySignal = process.exitStatus() != QProcess::NormalExit;
#ifdef Q_OS_UNIX
    // A program ended by a signal has no exit code; Qt gives the signal's number in its place.
    if (bySignal) {
        Dialogs().Warning(this, "Warning",
                          QString("Process %1 ended by signal %2")
                              .arg(commandLine, QString::number(process.exitCode())));
        return RunOutcome::Ended;
    }
#endif
    if (bySignal || process.exitCode() != 0)
        Dialogs().Warning(this, "Warning",
                          QString("Process %1 exit code %2")
                              .arg(commandLine, QString::number(process.exitCode())));
    return RunOutcome::Ended;
}

void TfrmLoadDataDevice::SignalProgram(bool kill) {
#ifdef Q_OS_UNIX
    // The group first; should the program have left it, the program alone.
    const int signal = kill ? SIGKILL : SIGTERM;
    if (programId_ > 0 && ::kill(pid_t(-programId_), signal) != 0 && process_ &&
        process_->state() != QProcess::NotRunning)
        ::kill(pid_t(programId_), signal);
#else
    if (process_)
        kill ? process_->kill() : process_->terminate();
#endif
}

void TfrmLoadDataDevice::SetButtonsEnabled(bool enabled) {
    butLoad_->setEnabled(enabled);
    butClose_->setEnabled(enabled);
}
