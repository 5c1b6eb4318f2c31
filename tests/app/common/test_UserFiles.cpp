// Where settings and language files are read and written: beside the executable for a build
// folder or a portable copy, else the user's configuration folder, whose files overlay the
// installed language files; and where an installed program's first Open Project starts.
#include "TestSupport.h"
#include "app/common/AppContext.h"
#include "app/common/LanguageTexts.h"
#include "app/help/Manuals.h"
#include "app/shell/TMainForm.h"
#include "core/IniFile.h"
#include "core/ProjectData.h"
#include "testdata/TestFiles.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <memory>

static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

using ostiva::testdata::ReadFileBytes;
using ostiva::testdata::WriteFileBytes;

QString Read(const QString& path, const char* section, const char* key) {
    return QString::fromStdString(
        ostiva::IniFile(path.toStdString()).ReadString(section, key, "<missing>"));
}

// Every file of a folder with its bytes and modification time in nanoseconds.
std::map<QString, std::pair<std::string, long long>> Snapshot(const QString& folder) {
    std::map<QString, std::pair<std::string, long long>> files;
    for (const QString& name :
         QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString path = folder + "/" + name;
        struct stat info {};
        stat(qPrintable(path), &info);
        files[name] = {QFileInfo(path).isFile() ? ReadFileBytes(path.toStdString()) : "",
                       info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
    }
    return files;
}

// $XDG_CONFIG_HOME and $HOME point into temporary folders for the test's lifetime.
class UserFilesTest : public ::testing::Test {
  protected:
    UserFilesTest() : savedConfig_(qgetenv("XDG_CONFIG_HOME")), savedHome_(qgetenv("HOME")) {
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        qputenv("HOME", home.path().toUtf8());
    }
    ~UserFilesTest() override {
        App().FolderWritable = {};
        Restore("XDG_CONFIG_HOME", savedConfig_);
        Restore("HOME", savedHome_);
    }
    QString UserFile(const QString& name) const { return config.path() + "/ostiva/" + name; }

    // An installed program: <folder>/<prefix>/bin/ostiva with nothing beside it and the language
    // files in <folder>/<prefix>/share/ostiva. Returns the bin folder.
    QString Install(const QString& prefix) const {
        const QString bin = folder.Path() + "/" + prefix + "/bin";
        const QString share = folder.Path() + "/" + prefix + "/share/ostiva";
        EXPECT_TRUE(QDir().mkpath(bin) && QDir().mkpath(share));
        for (const QString& code : ExecutableFolder::AllLanguages())
            EXPECT_TRUE(QFile::exists(share + "/ostiva_" + code + ".ini") ||
                        QFile::copy(folder.LanguageFile(code), share + "/ostiva_" + code + ".ini"));
        App().ExecutablePath = bin + "/ostiva";
        return bin;
    }
    // The installed file of `code` for an Install("usr").
    QString Installed(const QString& code) const {
        return folder.Path() + "/usr/share/ostiva/ostiva_" + code + ".ini";
    }

    QTemporaryDir config, home;
    ExecutableFolder folder;
    ScriptedDialogs dialogs;

  private:
    static void Restore(const char* name, const QByteArray& value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    QByteArray savedConfig_, savedHome_;
};

TEST_F(UserFilesTest, SettingsAndLanguageWritesGoWhereTheProgramRuns) {
    enum Layout { LocalInstall, RootInstall, BuildFolder, PortableCopy };
    struct Case {
        const char* name;
        Layout layout;
        bool beside; // else the user's folder
    };
    const Case cases[] = {
        {"installed with --prefix ~/.local", LocalInstall, false},
        {"installed by root into a folder only root may write", RootInstall, false},
        {"portable copy, settings file beside", PortableCopy, true},
        {"build folder, language files beside", BuildFolder, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString bin = folder.Path();
        App().ExecutablePath = bin + "/ostiva";
        if (c.layout == LocalInstall || c.layout == RootInstall) {
            bin = Install(c.layout == LocalInstall ? "local" : "usr");
        } else if (c.layout == PortableCopy) {
            bin = Install("portable"); // language files in share/ostiva only
            WriteFileBytes((bin + "/ostiva.ini").toStdString(), "[Paths]\nCurDir=/srv/welds/\n");
        }
        if (c.layout == RootInstall) {
            chmod(qPrintable(bin), 0555);
            App().FolderWritable = [](const std::string&) { return true; }; // root writes anywhere
        }
        const auto before = Snapshot(bin);

        auto main = std::make_unique<TMainForm>();
        main->findChild<QAction*>("actLanguageNL")->trigger();
        LanguageTexts().Write("ProjectFormLabels", "edtNormTopPos", "0.5");
        main->close();
        main.reset();

        const QString written = c.beside ? bin : config.path() + "/ostiva";
        EXPECT_EQ(Read(written + "/ostiva.ini", "Software", "Language"), "NL");
        EXPECT_NE(Read(written + "/ostiva.ini", "MainWindow", "Maximized"), "<missing>");
        EXPECT_EQ(Read(written + "/ostiva_NL.ini", "ProjectFormLabels", "edtNormTopPos"), "0.5");
        // Beside the executable a language file holds every key, as it always did.
        EXPECT_EQ(Read(written + "/ostiva_NL.ini", "ProjectFormLabels", "edtNormTopNeg"),
                  c.beside ? "-0.1" : "<missing>");
        if (c.beside)
            EXPECT_FALSE(QFileInfo::exists(config.path() + "/ostiva"));
        else
            EXPECT_EQ(Snapshot(bin), before) << "the program folder changed";
        for (const auto& message : dialogs.Messages)
            EXPECT_NE(message.kind, "Error") << message.text.toStdString();

        chmod(qPrintable(bin), 0700);
        App().FolderWritable = {};
        QDir(config.path() + "/ostiva").removeRecursively();
        dialogs.Messages.clear();
    }
}

TEST_F(UserFilesTest, UnwrittenLanguageKeysFollowUpdatesOfTheInstalledFile) {
    Install("usr");
    LanguageTexts writer;
    writer.Write("ProjectFormLabels", "edtNormShortWavesPos", "0.07");
    EXPECT_EQ(writer.Text("ProjectFormLabels", "edtNormShortWavesPos"), "0.07");
    EXPECT_EQ(writer.Text("ProjectFormLabels", "Label8"), "Operator:"); // still the whole file
    EXPECT_EQ(ReadFileBytes(UserFile("ostiva_EN.ini").toStdString()),
              "[ProjectFormLabels]\nedtNormShortWavesPos=0.07\n");

    // The package is updated: both limits change in the installed file.
    std::string installed = ReadFileBytes(Installed("EN").toStdString());
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"edtNormShortWavesPos=0.05",
                                                                       "edtNormShortWavesPos=0.04"},
                                   {"edtNormShortWavesNeg=-0.05", "edtNormShortWavesNeg=-0.06"}}) {
        ASSERT_NE(installed.find(from), std::string::npos);
        installed.replace(installed.find(from), from.size(), to);
    }
    WriteFileBytes(Installed("EN").toStdString(), installed);

    const LanguageTexts texts;
    EXPECT_EQ(texts.Text("ProjectFormLabels", "edtNormShortWavesPos"), "0.07");
    EXPECT_EQ(texts.Text("ProjectFormLabels", "edtNormShortWavesNeg"), "-0.06");
    EXPECT_EQ(texts.Text("ProjectFormLabels", "Label8"), "Operator:");
    // Records, reports and the search read the limits the same way.
    const ostiva::TProjectData record(folder.Path().toStdString() + "/zq_none.xml", "",
                                      App().LanguageFile());
    EXPECT_EQ(record.NormShortWavesPosText, "0.07");
    EXPECT_EQ(record.NormShortWavesNegText, "-0.06");

    // A full copy made by an earlier version is still read, before the installed file.
    WriteFileBytes(UserFile("ostiva_NL.ini").toStdString(),
                   "[ProjectFormLabels]\nLabel8=Eigen tekst\nedtNormShortWavesNeg=-0.03\n");
    App().LanguageCode = "NL";
    EXPECT_EQ(LanguageTexts().Text("ProjectFormLabels", "Label8"), "Eigen tekst");
    EXPECT_EQ(LanguageTexts().Text("ProjectFormLabels", "edtNormShortWavesNeg"), "-0.03");
    EXPECT_EQ(LanguageTexts().Text("ProjectFormLabels", "edtNormShortWavesPos"), "0.05");
    // The installed files stay as installed.
    EXPECT_EQ(ReadFileBytes(Installed("EN").toStdString()), installed);
}

TEST_F(UserFilesTest, ReadOnlyPortableCopyReadsBesideAndWritesToTheUserFolder) {
    folder.WriteSetting("Paths", "CurDir", "/srv/welds/");
    ASSERT_EQ(chmod(qPrintable(folder.Path()), 0555), 0);
    App().FolderWritable = [](const std::string&) { return false; };
    const auto before = Snapshot(folder.Path());

    auto main = std::make_unique<TMainForm>();
    EXPECT_EQ(App().RememberedDirectory, "/srv/welds/");
    main->findChild<QAction*>("actLanguageNL")->trigger();
    main.reset();
    EXPECT_EQ(ReadFileBytes(UserFile("ostiva.ini").toStdString()), "[Software]\nLanguage=NL\n");
    main = std::make_unique<TMainForm>();
    EXPECT_EQ(App().LanguageCode, "NL");
    EXPECT_EQ(App().RememberedDirectory, "/srv/welds/");
    main.reset();

    EXPECT_EQ(Snapshot(folder.Path()), before) << "the program folder changed";
    chmod(qPrintable(folder.Path()), 0700);
}

TEST_F(UserFilesTest, ProgramDataFromShareWhenAbsentBesideTheExecutable) {
    const QString bin = folder.Path() + "/bin";
    const QString share = folder.Path() + "/share/ostiva";
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(share));
    App().ExecutablePath = bin + "/ostiva";
    WriteFileBytes((share + "/ostiva_EN.ini").toStdString(), "[Messages]\n9=shared\n");
    WriteFileBytes((share + "/manual1_EN.pdf").toStdString(), "%PDF");

    EXPECT_EQ(QString::fromStdString(App().LanguageFile("EN")), share + "/ostiva_EN.ini");
    EXPECT_EQ(LanguageTexts().Text("Messages", "9"), "shared");
    EXPECT_EQ(ManualPath(1), share + "/manual1_EN.pdf");
    EXPECT_EQ(ManualPath(2), bin + "/manual2_EN.pdf"); // found nowhere: named beside
    WriteFileBytes((bin + "/manual1_EN.pdf").toStdString(), "%PDF");
    EXPECT_EQ(ManualPath(1), bin + "/manual1_EN.pdf");
}

TEST_F(UserFilesTest, FirstProjectDialogsStartAtHomeForAnInstalledProgram) {
    struct Case {
        const char* name;
        bool installed;
        QString curDir; // remembered in the settings; empty: none
        QString start;  // empty: the home folder
    };
    const Case cases[] = {
        {"installed, nothing remembered", true, "", ""},
        {"installed, a project remembered", true, "/srv/welds/", "/srv/welds/"},
        {"build folder, nothing remembered", false, "", "<bin>/demo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        App().ExecutablePath = folder.Path() + "/ostiva";
        const QString bin = c.installed ? Install("usr") : folder.Path();
        if (!c.curDir.isEmpty())
            ostiva::IniFile(App().WritableSettingsFile())
                .WriteString("Paths", "CurDir", c.curDir.toStdString());
        TMainForm main;
        dialogs.FileDialogs.clear();
        main.findChild<QAction*>("actProjectOpen")->trigger();
        main.findChild<QAction*>("actProjectNew")->trigger();
        const QString expected =
            c.start.isEmpty() ? home.path() + "/" : QString(c.start).replace("<bin>", bin);
        ASSERT_EQ(dialogs.FileDialogs.size(), 2);
        EXPECT_EQ(dialogs.FileDialogs[0].startFolder, expected);
        EXPECT_EQ(dialogs.FileDialogs[1].startFolder, expected);
        QFile::remove(UserFile("ostiva.ini"));
    }
}

// The configuration folder is only taken from an absolute $XDG_CONFIG_HOME: an empty or
// relative one is ignored for ~/.config, so settings never land in the project folder the
// program made current. Without an absolute home either, nothing is written at all.
TEST_F(UserFilesTest, RelativeOrEmptyConfigHomeIsIgnored) {
    Install("usr");
    QTemporaryDir home, project;
    const QByteArray savedHome = qgetenv("HOME");
    const QString savedCurrent = QDir::currentPath();
    QDir::setCurrent(project.path());
    ASSERT_TRUE(QDir().mkdir(project.path() + "/conf"));
    const QList<std::pair<QByteArray, QByteArray>> cases = {
        {"", home.path().toUtf8()},
        {"conf", home.path().toUtf8()},
        {"./", home.path().toUtf8()},
        {"conf", "."}, // no home folder known
    };
    for (const auto& [config, homeValue] : cases) {
        SCOPED_TRACE(config.toStdString() + " / " + homeValue.toStdString());
        qputenv("XDG_CONFIG_HOME", config);
        qputenv("HOME", homeValue);
        dialogs.Messages.clear();
        auto main = std::make_unique<TMainForm>();
        main->findChild<QAction*>("actLanguageNL")->trigger();
        main.reset();
        const QString settings = home.path() + "/.config/ostiva/ostiva.ini";
        if (homeValue == ".") {
            const QStringList errors = dialogs.Texts("Error");
            EXPECT_FALSE(errors.isEmpty());
            for (const QString& error : errors)
                EXPECT_TRUE(error.startsWith("Unable to write to ") &&
                            error.endsWith(": no home folder"))
                    << error.toStdString();
        } else {
            EXPECT_EQ(Read(settings, "Software", "Language"), "NL");
            EXPECT_TRUE(QFile::remove(settings));
        }
        EXPECT_EQ(QDir(project.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{"conf"});
        EXPECT_TRUE(QDir(project.path() + "/conf").isEmpty());
    }
    QDir::setCurrent(savedCurrent);
    qputenv("HOME", savedHome);
}

} // namespace
