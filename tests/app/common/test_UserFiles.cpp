// Where settings and language files are read and written: beside the executable while its
// folder is writable, the user's configuration folder for an installed (read-only) program, and
// the program data in ../share/ostiva when absent beside the executable.
#include "TestSupport.h"
#include "app/common/AppContext.h"
#include "app/common/LanguageTexts.h"
#include "app/help/Manuals.h"
#include "app/shell/TMainForm.h"
#include "core/IniFile.h"
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

// $XDG_CONFIG_HOME points into a temporary folder for the test's lifetime.
class UserFilesTest : public ::testing::Test {
  protected:
    UserFilesTest() : savedConfig_(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    }
    ~UserFilesTest() override {
        App().FolderWritable = {};
        if (savedConfig_.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", savedConfig_);
    }
    QString UserFile(const QString& name) const { return config.path() + "/ostiva/" + name; }

    QTemporaryDir config;
    ExecutableFolder folder;
    ScriptedDialogs dialogs;

  private:
    QByteArray savedConfig_;
};

// An installed program: its folder is read-only (root would still be allowed to write it, so
// the check is replaced as well).
class ReadOnlyProgramFolderTest : public UserFilesTest {
  protected:
    ReadOnlyProgramFolderTest() {
        folder.WriteSetting("Paths", "CurDir", "/srv/welds");
        EXPECT_EQ(chmod(qPrintable(folder.Path()), 0555), 0);
        App().FolderWritable = [](const std::string&) { return false; };
        before_ = Snapshot(folder.Path());
    }
    ~ReadOnlyProgramFolderTest() override {
        EXPECT_EQ(Snapshot(folder.Path()), before_) << "the program folder changed";
        chmod(qPrintable(folder.Path()), 0700);
    }

  private:
    std::map<QString, std::pair<std::string, long long>> before_;
};

TEST_F(ReadOnlyProgramFolderTest, SettingsAreReadBesideTheProgramAndWrittenToTheUserFolder) {
    // Each writer on its own makes the user's file, keeping what the program's file held.
    const QString settings = UserFile("ostiva.ini");
    auto main = std::make_unique<TMainForm>();
    EXPECT_EQ(App().RememberedDirectory, "/srv/welds");
    main->findChild<QAction*>("actLanguageNL")->trigger();
    main.reset();
    EXPECT_EQ(Read(settings, "Software", "Language"), "NL");
    EXPECT_EQ(Read(settings, "Paths", "CurDir"), "/srv/welds");
    EXPECT_EQ(QString::fromStdString(App().SettingsFile()), settings);

    ASSERT_TRUE(QFile::remove(settings));
    main = std::make_unique<TMainForm>();
    main->close();
    main.reset();
    EXPECT_EQ(Read(settings, "Paths", "CurDir"), "/srv/welds");
    EXPECT_NE(Read(settings, "MainWindow", "Maximized"), "<missing>");
    for (const auto& message : dialogs.Messages)
        EXPECT_NE(message.kind, "Error") << message.text.toStdString();
}

TEST_F(ReadOnlyProgramFolderTest, NormLimitCopiesTheLanguageFileOnceAndTheCopyIsReadFromThen) {
    const std::string original = ReadFileBytes(folder.LanguageFile("EN").toStdString());
    LanguageTexts().Write("ProjectFormLabels", "edtNormTopPos", "0.5");

    const QString copy = UserFile("ostiva_EN.ini");
    std::string expected = original;
    const std::string line = "edtNormTopPos=0.3";
    ASSERT_NE(expected.find(line), std::string::npos);
    expected.replace(expected.find(line), line.size(), "edtNormTopPos=0.5");
    EXPECT_EQ(ReadFileBytes(copy.toStdString()), expected);
    EXPECT_EQ(QString::fromStdString(App().LanguageFile("EN")), copy);
    EXPECT_EQ(LanguageTexts().Text("ProjectFormLabels", "edtNormTopPos"), "0.5");

    // Written again, the copy is kept, not made afresh; other languages are not copied.
    ostiva::IniFile(copy.toStdString()).WriteString("Own", "Mark", "1");
    LanguageTexts().Write("ProjectFormLabels", "edtNormTopPos", "0.75");
    EXPECT_EQ(Read(copy, "Own", "Mark"), "1");
    EXPECT_EQ(Read(copy, "ProjectFormLabels", "edtNormTopPos"), "0.75");
    EXPECT_EQ(QString::fromStdString(App().LanguageFile("NL")), folder.LanguageFile("NL"));
    EXPECT_FALSE(QFileInfo::exists(UserFile("ostiva_NL.ini")));
}

TEST_F(UserFilesTest, WritableProgramFolderKeepsEverythingBesideTheExecutable) {
    LanguageTexts().Write("ProjectFormLabels", "edtNormTopPos", "0.5");
    EXPECT_EQ(Read(folder.LanguageFile("EN"), "ProjectFormLabels", "edtNormTopPos"), "0.5");
    EXPECT_EQ(QString::fromStdString(App().WritableSettingsFile()), folder.SettingsFile());
    EXPECT_EQ(QString::fromStdString(App().SettingsFile()), folder.SettingsFile());
    EXPECT_FALSE(QFileInfo::exists(config.path() + "/ostiva"));
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

    // Installed read-only: the user's copy starts from the shared file.
    App().FolderWritable = [](const std::string&) { return false; };
    LanguageTexts().Write("Messages", "10", "mine");
    EXPECT_EQ(ReadFileBytes(UserFile("ostiva_EN.ini").toStdString()),
              "[Messages]\n9=shared\n10=mine\n");
    EXPECT_EQ(ReadFileBytes((share + "/ostiva_EN.ini").toStdString()), "[Messages]\n9=shared\n");
}

// The configuration folder is only taken from an absolute $XDG_CONFIG_HOME: an empty or
// relative one is ignored for ~/.config, so settings never land in the project folder the
// program made current. Without an absolute home either, nothing is written at all.
TEST_F(ReadOnlyProgramFolderTest, RelativeOrEmptyConfigHomeIsIgnored) {
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
                EXPECT_EQ(error,
                          "Unable to write to " + folder.SettingsFile() + ": no home folder");
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
