// The download from the device driven headless: the exchange with the transfer program through
// its result file, the program's lookup and arguments, its failures, and the project list after
// the dialog closed. The program is the stand-in of the build or a script written here.
#include "TestSupport.h"
#include "app/common/AppContext.h"
#include "app/device/DeviceDownload.h"
#include "app/device/TfrmLoadDataDevice.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "app/shell/TMainForm.h"
#include "testdata/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString kReceiving = "Receiving files from device...";

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : "<missing>";
}

// False once the process has ended (a zombie has ended too).
bool Alive(qint64 pid) {
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(") ") + 2, 1) != "Z";
}

void WriteText(const QString& path, const QString& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(text.toUtf8());
}

class DeviceDownloadTest : public ::testing::Test {
  protected:
    ExecutableFolder folder;
    ScriptedDialogs dialogs;
    QTemporaryDir pathDir; // first on the search path
    QWidget mainWindow;
    QString projectDir = folder.MakeDirectory("my project"); // a blank in the path
    QString device = folder.MakeProject("device", 3);
    QString start = "Start: upload2 " + projectDir;
    QString savedCurrent = QDir::currentPath();
    QByteArray savedPath = qgetenv("PATH");
    QByteArray savedDevice = qgetenv("OSTIVA_DEVICE_DIR");

    DeviceDownloadTest() {
        // The download reads "result" where the project list made its directory current.
        QDir::setCurrent(projectDir);
        qputenv("PATH", (pathDir.path() + ":/usr/bin:/bin").toUtf8());
        qputenv("OSTIVA_DEVICE_DIR", device.toUtf8());
    }
    ~DeviceDownloadTest() override {
        QDir::setCurrent(savedCurrent);
        qputenv("PATH", savedPath);
        qputenv("OSTIVA_DEVICE_DIR", savedDevice);
    }

    void UseStandIn() { ASSERT_TRUE(QFile::copy(OSTIVA_UPLOAD2, folder.Path() + "/upload2")); }
    // A shell script named upload2 in `directory`; it runs in the project directory.
    void WriteScript(const QString& directory, const QString& body, bool executable = true) {
        const QString path = directory + "/upload2";
        WriteText(path, "#!/bin/sh\n" + body);
        QFile::setPermissions(path, executable ? QFile::permissions(path) | QFile::ExeOwner
                                               : QFile::ReadOwner | QFile::WriteOwner);
    }

    static QStringList Log(TfrmLoadDataDevice& dialog) {
        return dialog.findChild<QPlainTextEdit*>("memInfo")->toPlainText().split('\n');
    }
    static QPushButton* Button(TfrmLoadDataDevice& dialog, const QString& name) {
        return dialog.findChild<QPushButton*>(name);
    }
    static void Load(TfrmLoadDataDevice& dialog) {
        QTest::mouseClick(Button(dialog, "butLoad"), Qt::LeftButton);
    }
    static void Close(TfrmLoadDataDevice& dialog) {
        QTest::mouseClick(Button(dialog, "butClose"), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    }
    // The dialog opened without a modal loop, loaded once and left open.
    std::unique_ptr<TfrmLoadDataDevice> OpenAndLoad() {
        auto dialog = std::make_unique<TfrmLoadDataDevice>(&mainWindow, projectDir);
        dialog->show();
        Load(*dialog);
        return dialog;
    }
    // After an exchange: Load and Close back, no Cancel, and no result file left behind.
    void ExpectIdle(TfrmLoadDataDevice& dialog) {
        EXPECT_TRUE(Button(dialog, "butLoad")->isEnabled());
        EXPECT_TRUE(Button(dialog, "butClose")->isEnabled());
        EXPECT_FALSE(Button(dialog, "butCancel")->isEnabled());
        EXPECT_TRUE(mainWindow.isEnabled());
        EXPECT_FALSE(QFile::exists(projectDir + "result"));
    }
    void ExpectIdleAndOpen(TfrmLoadDataDevice& dialog) {
        EXPECT_TRUE(dialog.isVisible());
        ExpectIdle(dialog);
    }
};

TEST_F(DeviceDownloadTest, DialogShowsItsBuiltInTexts) {
    TfrmLoadDataDevice dialog(&mainWindow, projectDir);
    EXPECT_EQ(dialog.windowTitle(), "Load Data From Device");
    EXPECT_EQ(Log(dialog), QStringList{"Press Load button to begin loading..."});
    EXPECT_EQ(Button(dialog, "butLoad")->text(), "Load");
    EXPECT_EQ(Button(dialog, "butClose")->text(), "Close");
    EXPECT_EQ(Button(dialog, "butCancel")->text(), "Cancel");
    EXPECT_FALSE(Button(dialog, "butCancel")->isEnabled());
    EXPECT_TRUE(dialog.findChild<QPlainTextEdit*>("memInfo")->isReadOnly());
}

TEST_F(DeviceDownloadTest, StandInFetchesThreeProfilesOneARunAndTheListShowsThemAfterClosing) {
    UseStandIn();
    QMdiArea area(&mainWindow);
    TProjectForm* form = TProjectForm::NewProject(&area, projectDir);
    RunDeviceDownload(&mainWindow, *form, [&](TfrmLoadDataDevice& dialog) {
        dialog.show();
        Load(dialog);
        EXPECT_EQ(Log(dialog),
                  QStringList({kReceiving, start, "Current file: zq0001.xml", start,
                               "Current file: zq0002.xml", start, "Current file: zq0003.xml", start,
                               "Current file: NOTHING"}));
        ExpectIdleAndOpen(dialog);
        EXPECT_TRUE(form->FileListBox1->Entries().isEmpty()) << "refreshed before closing";
        Close(dialog);
    });
    EXPECT_EQ(form->FileListBox1->Entries(),
              QStringList({"zq0001.xml", "zq0002.xml", "zq0003.xml"}));
    for (const QString& name : QStringList{"zq0001.xml", "zq0002.xml", "zq0003.xml"})
        EXPECT_EQ(ReadText(projectDir + name), ReadText(device + name));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(DeviceDownloadTest, NothingOnTheFirstPassEndsAtOnceAndTheListStaysAsItWas) {
    UseStandIn();
    const QString project = folder.MakeProject("full project", 3);
    QDir::setCurrent(project);
    qputenv("OSTIVA_DEVICE_DIR", folder.MakeProject("same device", 2).toUtf8());
    QMdiArea area(&mainWindow);
    TProjectForm* form = TProjectForm::NewProject(&area, project);
    form->FileListBox1->SetMask("zq0002.xml"); // the list's mask survives the refresh
    RunDeviceDownload(&mainWindow, *form, [&](TfrmLoadDataDevice& dialog) {
        dialog.show();
        Load(dialog);
        EXPECT_EQ(Log(dialog),
                  QStringList({kReceiving, "Start: upload2 " + project, "Current file: NOTHING"}));
        Close(dialog);
    });
    EXPECT_EQ(form->FileListBox1->Entries(), QStringList{"zq0002.xml"});
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(DeviceDownloadTest, OnlyNothingAndStopInCapitalsEndTheExchange) {
    // Runs 1 and 2 answer in lower case, run 3 in capitals.
    WriteScript(folder.Path(), "n=$(cat count 2>/dev/null || echo 0); n=$((n+1)); echo $n >count\n"
                               "if [ $n -lt 3 ]; then echo nothing >result; "
                               "else echo NOTHING >result; fi\n");
    auto dialog = OpenAndLoad();
    EXPECT_EQ(Log(*dialog), QStringList({kReceiving, start, "Current file: nothing", start,
                                         "Current file: nothing", start, "Current file: NOTHING"}));

    WriteScript(folder.Path(), "printf 'STOP\\r\\nzq0001.xml\\n' >result\n");
    Load(*dialog);
    EXPECT_EQ(Log(*dialog), QStringList({kReceiving, start, "Current file: STOP"}));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(DeviceDownloadTest, NonZeroExitIsWarnedAndTheNextPassStartsWhileTheMainWindowWaitsDisabled) {
    // The first run waits until the test has looked at the windows, so the look falls inside
    // the run whatever the timing.
    WriteScript(folder.Path(), "if [ ! -e first-done ]; then\n"
                               "  i=0; while [ ! -e go ] && [ $i -lt 200 ]; do sleep 0.05; "
                               "i=$((i+1)); done\n"
                               "  touch first-done; echo zq0009.xml >result; exit 1\n"
                               "fi\necho NOTHING >result\n");
    TfrmLoadDataDevice dialog(&mainWindow, projectDir);
    dialog.show();
    // Main window, Load, Close, Cancel, log enabled; dialog visible.
    QList<bool> seen;
    QObject::connect(dialog.findChild<QPlainTextEdit*>("memInfo"), &QPlainTextEdit::textChanged,
                     &dialog, [&] {
                         if (!seen.isEmpty() || !Log(dialog).last().startsWith("Start:"))
                             return;
                         seen << true;
                         QTimer::singleShot(0, &dialog, [&] {
                             seen = {mainWindow.isEnabled(),
                                     Button(dialog, "butLoad")->isEnabled(),
                                     Button(dialog, "butClose")->isEnabled(),
                                     Button(dialog, "butCancel")->isEnabled(),
                                     dialog.findChild<QPlainTextEdit*>("memInfo")->isEnabled(),
                                     dialog.isVisible()};
                             WriteText(projectDir + "go", "");
                         });
                     });
    mainWindow.show();
    Load(dialog);
    EXPECT_EQ(seen, QList<bool>({false, false, false, true, true, true}));
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_EQ(dialogs.Texts("Warning"),
              QStringList{"Process upload2 " + projectDir + " exit code 1"});
    EXPECT_EQ(dialogs.Messages.value(0).caption, "Warning");
    EXPECT_EQ(Log(dialog), QStringList({kReceiving, start, "Current file: zq0009.xml", start,
                                        "Current file: NOTHING"}));
    EXPECT_FALSE(QFile::exists(projectDir + "result"));
    ExpectIdleAndOpen(dialog);
}

TEST_F(DeviceDownloadTest, MissingResultFileEndsTheExchangeAlsoWhenAnOldOneLay) {
    WriteText(projectDir + "result", "zq0001.xml\n"); // left by an earlier download
    // Writes nothing; later runs would stop a download that went on with the old file.
    WriteScript(folder.Path(), "[ -e ran ] && echo STOP >result; touch ran; exit 0\n");
    auto dialog = OpenAndLoad();
    EXPECT_EQ(Log(*dialog), QStringList({kReceiving, start}));
    EXPECT_EQ(dialogs.Texts("Error"), QStringList{"Can't open file: result"});
    EXPECT_EQ(dialogs.Messages.value(0).caption, App().ApplicationTitle);
    ExpectIdleAndOpen(*dialog);
}

TEST_F(DeviceDownloadTest, ProgramThatCannotStartEndsTheExchange) {
    WriteText(projectDir + "result", "zq0001.xml\n"); // would start another pass if read
    WriteScript(folder.Path(), "echo NOTHING >result\n", false);
    auto dialog = OpenAndLoad();
    EXPECT_EQ(Log(*dialog), QStringList({kReceiving, start}));
    // EACCES: found but not executable.
    EXPECT_EQ(dialogs.Texts("Error"),
              QStringList{"Can't run process: upload2 " + projectDir + "    ErrorCode=13"});
    ExpectIdleAndOpen(*dialog);
    EXPECT_TRUE(mainWindow.isEnabled());

    // ENOENT: nowhere to be found.
    QFile::remove(folder.Path() + "/upload2");
    Load(*dialog);
    EXPECT_EQ(Log(*dialog), QStringList({kReceiving, start}));
    EXPECT_EQ(dialogs.Texts("Error").value(1),
              "Can't run process: upload2 " + projectDir + "    ErrorCode=2");
}

TEST_F(DeviceDownloadTest, ProgramIsFoundBesideTheExecutableFirstAndGetsTheDirectoryWhole) {
    const QString body = "printf '%s|' \"$#\" \"$1\" >args; echo NOTHING >result; echo ";
    WriteScript(pathDir.path(), body + "path >which\n");
    auto dialog = OpenAndLoad();
    EXPECT_EQ(ReadText(projectDir + "which"), "path\n");
    EXPECT_EQ(ReadText(projectDir + "args"), "1|" + projectDir + "|");

    WriteScript(folder.Path(), body + "beside >which\n");
    Load(*dialog);
    EXPECT_EQ(ReadText(projectDir + "which"), "beside\n");
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(DeviceDownloadTest, ExitCodeAndSignalAreWarnedAsWhatTheyAre) {
    const QList<std::pair<QString, QString>> cases = {
        {"exit 3", " exit code 3"},
        {"ulimit -c 0; kill -SEGV $$", " ended by signal 11"},
        {"kill -KILL $$", " ended by signal 9"},
    };
    for (const auto& [ending, warning] : cases) {
        SCOPED_TRACE(ending.toStdString());
        dialogs.Messages.clear();
        WriteScript(folder.Path(), "echo NOTHING >result; " + ending + "\n");
        auto dialog = OpenAndLoad();
        EXPECT_EQ(dialogs.Texts("Warning"), QStringList{"Process upload2 " + projectDir + warning});
        EXPECT_EQ(dialogs.Messages.value(0).caption, "Warning");
        EXPECT_EQ(Log(*dialog), QStringList({kReceiving, start, "Current file: NOTHING"}));
        ExpectIdleAndOpen(*dialog);
    }
}

// A program that hangs, one that ignores the request to end, and one that names a file on
// every run: each is stopped by Cancel, Escape or closing the dialog, whatever it started
// ends with it, and the files fetched so far stay.
TEST_F(DeviceDownloadTest, CancelEndsTheProgramAndWhatItStartedAndKeepsWhatWasFetched) {
    // The program writes "<its id> <its child's id>" into "ready" once it waits.
    const QString hang = "sleep 1000 & echo $$ $! >r.tmp; mv r.tmp ready; wait\n";
    const QString deaf = "trap '' TERM\n" + hang;
    const QString loop = "n=$(cat count 2>/dev/null || echo 0); n=$((n+1)); echo $n >count\n"
                         "echo fetched >\"$1zq00$n.xml\"; echo zq00$n.xml >result\n"
                         "[ $n -ge 3 ] && echo $$ 0 >ready\n"
                         "[ $n -ge 50 ] && echo STOP >result; exit 0\n";
    const auto clickCancel = [](TfrmLoadDataDevice& dialog) {
        QTest::mouseClick(Button(dialog, "butCancel"), Qt::LeftButton);
    };
    const auto pressEscape = [](TfrmLoadDataDevice& dialog) {
        QTest::keyClick(dialog.findChild<QPlainTextEdit*>("memInfo"), Qt::Key_Escape);
    };
    const auto closeDialog = [](TfrmLoadDataDevice& dialog) { dialog.close(); };
    struct Case {
        const char* what;
        QString script;
        std::function<void(TfrmLoadDataDevice&)> cancel;
        bool staysOpen;
    };
    const QList<Case> cases = {
        {"Cancel, hanging", hang, clickCancel, true},
        {"Escape, hanging", hang, pressEscape, false},
        {"close, hanging", hang, closeDialog, false},
        {"Cancel, deaf to terminate", deaf, clickCancel, true},
        {"Cancel, always a file", loop, clickCancel, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const QString& name : QDir(projectDir).entryList(QDir::Files))
            QFile::remove(projectDir + name);
        WriteScript(folder.Path(), c.script);
        TfrmLoadDataDevice dialog(&mainWindow, projectDir);
        dialog.SetTerminateGrace(100);
        dialog.show();
        QStringList ids;
        QTimer poll;
        poll.callOnTimeout([&] {
            if (!ids.isEmpty() || !QFile::exists(projectDir + "ready"))
                return;
            ids = ReadText(projectDir + "ready").split(' ');
            c.cancel(dialog);
        });
        poll.start(10);
        // Should the cancel fail, the test fails instead of waiting for the program.
        QTimer::singleShot(20000, &dialog, [&] {
            ADD_FAILURE() << "not cancelled";
            if (const int program = ids.value(0).toInt(); program > 0)
                ::kill(-program, SIGKILL);
        });
        mainWindow.show();
        Load(dialog);

        const QStringList log = Log(dialog);
        EXPECT_EQ(log.mid(0, 2), QStringList({kReceiving, start}));
        EXPECT_EQ(log.last(), "Transfer cancelled.");
        EXPECT_TRUE(dialogs.Messages.isEmpty());
        EXPECT_EQ(dialog.isVisible(), c.staysOpen);
        ExpectIdle(dialog);
        const qint64 child = ids.value(1).toLongLong();
        for (int i = 0; i < 250 && Alive(child); ++i)
            QTest::qWait(20);
        EXPECT_FALSE(Alive(child)) << "the program's child outlived the cancel";
        if (c.script == loop) {
            EXPECT_TRUE(log.contains("Current file: zq002.xml"));
            for (const char* name : {"zq001.xml", "zq002.xml", "zq003.xml"})
                EXPECT_EQ(ReadText(projectDir + name), "fetched\n") << name;
        }
    }
}

// The shortcut reaches the download only where the command is available: not without a
// window and not in a comparison window, but in a new, still empty project.
TEST_F(DeviceDownloadTest, ShortcutOpensTheDownloadOnlyWhereTheCommandIsAvailable) {
    TMainForm main;
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    const QString profile = folder.WriteProfile(folder.MakeDirectory("p") + "zq0001.xml");
    QStringList opened; // the directories the dialog was opened for
    const auto press = [&] {
        QTimer::singleShot(0, &main, [&] {
            if (auto* dialog = main.findChild<TfrmLoadDataDevice*>()) {
                opened << dialog->ProjectDir();
                dialog->butCloseClick();
            }
        });
        QTest::keyClick(&main, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        QCoreApplication::processEvents();
    };
    press();
    TProjectForm::OpenComparison(main.MdiArea(), profile, profile);
    QCoreApplication::processEvents();
    press();
    EXPECT_TRUE(opened.isEmpty());
    TProjectForm::NewProject(main.MdiArea(), projectDir);
    QCoreApplication::processEvents();
    press();
    EXPECT_EQ(opened, QStringList{projectDir});
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

} // namespace
