#include "app/device/TfrmLoadDataDevice.h"

#include "app/common/Dialogs.h"
#include "app/device/DeviceDownload.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QVBoxLayout>
#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

constexpr const char* kResultFile = "result";

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
    butClose_ = new QPushButton("Close", this);
    butClose_->setObjectName("butClose");
    butClose_->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(butLoad_);
    buttons->addWidget(butClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memInfo_, 1);
    layout->addLayout(buttons);
    setFixedSize(480, 320);

    connect(butLoad_, &QPushButton::clicked, this, &TfrmLoadDataDevice::butLoadClick);
    connect(butClose_, &QPushButton::clicked, this, &TfrmLoadDataDevice::butCloseClick);
}

void TfrmLoadDataDevice::butLoadClick() {
    if (running_)
        return;
    const QScopedValueRollback<bool> running(running_, true);
    SetButtonsEnabled(false);
    memInfo_->clear();
    memInfo_->appendPlainText("Receiving files from device...");
    const QString commandLine = QString(kTransferProgram) + " " + projectDir_;
    for (;;) {
        memInfo_->appendPlainText("Start: " + commandLine);
        // A result left from an earlier run must not be taken for this run's.
        QFile::remove(kResultFile);
        if (!RunAndWait(commandLine))
            break;
        const ResultLine result = ReadResultLine(this);
        if (!result.ok)
            break;
        memInfo_->appendPlainText("Current file: " + result.line);
        if (result.line == "STOP" || result.line == "NOTHING")
            break;
    }
    SetButtonsEnabled(true);
}

void TfrmLoadDataDevice::butCloseClick() {
    if (!running_)
        accept();
}

void TfrmLoadDataDevice::reject() {
    if (!running_)
        QDialog::reject();
}

void TfrmLoadDataDevice::closeEvent(QCloseEvent* event) {
    if (running_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

bool TfrmLoadDataDevice::RunAndWait(const QString& commandLine) {
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
    if (!program.isEmpty()) {
        // No other command may start while the program runs; the windows keep repainting. The
        // boxes below come after, as a box owned by a disabled window could not be answered.
        if (mainWindow_)
            mainWindow_->setEnabled(false);
        const auto enableAgain = qScopeGuard([this] {
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
        if (!ended)
            loop.exec();
    }
    if (program.isEmpty() || process.error() == QProcess::FailedToStart) {
        ShowError(this, QString("Can't run process: %1    ErrorCode=%2")
                            .arg(commandLine, QString::number(StartErrorCode(program))));
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        Dialogs().Information(this, "Warning",
                              QString("Process %1 exit code %2")
                                  .arg(commandLine, QString::number(process.exitCode())));
    return true;
}

void TfrmLoadDataDevice::SetButtonsEnabled(bool enabled) {
    butLoad_->setEnabled(enabled);
    butClose_->setEnabled(enabled);
}
