// Saving from the project window against what other programs do to the file: the command
// line's header edit writes the same bytes as the same typing in the window, and a file that
// someone else wrote after it was shown is overwritten only when the user says so.
#include "TestSupport.h"
#include "app/common/AppContext.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "cli/SetCommand.h"
#include "core/ProfileDocument.h"
#include "testdata/TestFiles.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using ostiva::testdata::ReadFileBytes;
using ostiva::testdata::WriteFileBytes;

namespace {

// One field typed into the window, and the same field on the command line.
struct Typing {
    const char* control; // objectName; "cbxVelInp" chooses from the speed list
    const char* field;   // NAME of --field
    const char* text;
    const char* element; // where the file keeps it
    const char* attribute;
};

class ProjectSaveTest : public ::testing::Test {
  protected:
    ExecutableFolder folder;
    ScriptedDialogs dialogs;
    QMdiArea area;

    // A profile with a known header, LASSER "Jan" and LASNR "7", at 80 km/h.
    QString WriteProfile(const QString& path, std::uint32_t seed = 1) {
        ostiva::testdata::GeneratorOptions options;
        options.seed = seed;
        options.header = ostiva::testdata::ProfileHeader{
            "D1", "01-02-2026", "10:00", "Rail BV", "Ut", "1", "54E1",
            "L",  "TW",         "Jan",   "7",       "W1", "S3"};
        return folder.WriteProfile(path, options);
    }
    void Type(TProjectForm* form, const Typing& t) {
        if (QString(t.control) == "cbxVelInp") {
            auto* speeds = FindNamed<QComboBox>(form, "cbxVelInp");
            const int index = speeds->findText(t.text);
            ASSERT_GE(index, 0) << t.text;
            speeds->setCurrentIndex(index);
            emit speeds->activated(index);
            return;
        }
        QWidget* field = FindNamed<QWidget>(form, t.control);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, t.text);
    }
    QString Text(TProjectForm* form, const QString& name) {
        return FindNamed<QLineEdit>(form, name)->text();
    }
    std::string Attribute(const QString& path, const char* element, const char* attribute) {
        ostiva::ProfileDocument document;
        document.Load(path.toStdString());
        return document.GetAttribute(element, attribute);
    }
    // The command line's edit, run as the set command runs it.
    int Set(const std::vector<std::string>& assignments, const std::vector<std::string>& files,
            std::string* errors = nullptr) {
        std::vector<ostiva::cli::FieldValue> fields;
        for (const std::string& a : assignments)
            fields.push_back(ostiva::cli::ParseFieldAssignment(a));
        std::ostringstream err;
        const int status = ostiva::cli::SetHeaderFields(fields, files, App().LanguageFile(), err);
        if (errors)
            *errors = err.str();
        return status;
    }
};

TEST_F(ProjectSaveTest, TheSetCommandWritesTheBytesTheWindowSavesAfterTheSameTyping) {
    const std::vector<std::vector<Typing>> cases = {
        {{"Edit7", "LasSer", "Piet & <Zn>", "INFO_MANU", "LASSER"}},
        {{"Edit3", "Datum", "02-03-2026", "INFO_AUTO", "DATUM"},
         {"Edit4", "Tijd", "23:59", "INFO_AUTO", "TIJD"},
         {"Edit5", "WerkNummer", "W \"9\"", "INFO_MANU", "WERKNUMMER"}},
        {{"Memo1", "Spoor", "12b", "INFO_MANU", "SPOOR"}},
        // A speed rebuilds the record and its assessment from the file at that speed.
        {{"cbxVelInp", "Snelheid", "40", "INFO_MANU", "SNELHEID"}},
        {{"cbxVelInp", "Snelheid", "120", "INFO_MANU", "SNELHEID"},
         {"Edit12", "LasNr", "77", "INFO_MANU", "LASNR"}},
    };
    // The norm A and the lateral limit L of the speed table for 40 and 120 km/h.
    const std::map<std::string, std::pair<std::string, std::string>> norms = {
        {"40", {"3.20", "1.00"}}, {"120", {"2.00", "0.50"}}};
    int n = 0;
    for (const std::vector<Typing>& typings : cases) {
        SCOPED_TRACE(typings.front().field);
        const QString dir = folder.MakeDirectory(QString("w%1").arg(++n));
        const QString window = WriteProfile(dir + "zq0001.xml", std::uint32_t(n));
        const QString copy = folder.MakeDirectory(QString("c%1").arg(n)) + "zq0001.xml";
        const std::string original = ReadFileBytes(window.toStdString());
        WriteFileBytes(copy.toStdString(), original);

        TProjectForm* form = TProjectForm::OpenProject(&area, window);
        std::vector<std::string> assignments;
        for (const Typing& t : typings) {
            Type(form, t);
            assignments.push_back(std::string(t.field) + "=" + t.text);
        }
        ASSERT_TRUE(form->Modified);
        ASSERT_TRUE(form->ProfileSave(false));
        EXPECT_EQ(Set(assignments, {copy.toStdString()}), 0);

        const std::string saved = ReadFileBytes(window.toStdString());
        EXPECT_NE(saved, original);
        EXPECT_EQ(ReadFileBytes(copy.toStdString()), saved);
        for (const Typing& t : typings)
            EXPECT_EQ(Attribute(copy, t.element, t.attribute), t.text);
        if (const auto norm = norms.find(typings.front().text); norm != norms.end()) {
            EXPECT_EQ(Attribute(copy, "TOP_QUALITY", "NORM"), norm->second.first);
            EXPECT_EQ(Attribute(copy, "ZIJ_QUALITY", "QI_POSP_ZIJ"), norm->second.second);
        }
        EXPECT_TRUE(dialogs.Messages.isEmpty());
        form->close();
    }
}

TEST_F(ProjectSaveTest, SetWritesEveryFileItCanAndNamesTheOthers) {
    const QString dir = folder.MakeDirectory("p");
    const QString first = WriteProfile(dir + "zq0001.xml", 1);
    const QString locked = WriteProfile(dir + "zq0002.xml", 2);
    const QString last = WriteProfile(dir + "zq0003.xml", 3);
    const QString broken = dir + "zq0004.xml";
    WriteFileBytes(broken.toStdString(), "<PROFILE><INFO_AUTO DEVICE=\"D1\"></PROFILE>");
    // A file without the attribute gets nothing: nothing is ever added to a file.
    ostiva::testdata::GeneratorOptions options;
    options.omit = {"INFO_MANU/LASSER"};
    const QString lacking = folder.WriteProfile(dir + "zq0005.xml", options);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const std::string lockedBytes = ReadFileBytes(locked.toStdString());
    const std::string brokenBytes = ReadFileBytes(broken.toStdString());
    const std::string lackingBytes = ReadFileBytes(lacking.toStdString());

    std::string errors;
    EXPECT_EQ(Set({"LasSer=Kees", "Eigenaar=Spoor BV"},
                  {first.toStdString(), locked.toStdString(), broken.toStdString(),
                   lacking.toStdString(), last.toStdString()},
                  &errors),
              1);
    for (const QString& written : {first, last}) {
        EXPECT_EQ(Attribute(written, "INFO_MANU", "LASSER"), "Kees");
        EXPECT_EQ(Attribute(written, "INFO_AUTO", "EIGENAAR"), "Spoor BV");
    }
    EXPECT_EQ(ReadFileBytes(locked.toStdString()), lockedBytes);
    EXPECT_EQ(ReadFileBytes(broken.toStdString()), brokenBytes);
    EXPECT_EQ(ReadFileBytes(lacking.toStdString()), lackingBytes);
    for (const QString& failed : {locked, broken, lacking})
        EXPECT_NE(errors.find(failed.toStdString() + ": "), std::string::npos) << errors;
    EXPECT_EQ(errors.find(first.toStdString()), std::string::npos) << errors;
    // No temporary file is left beside them.
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), 5);
}

TEST_F(ProjectSaveTest, AFileWrittenByAnotherProgramIsOverwrittenOnlyWhenTheUserSaysSo) {
    enum class Other { Nothing, SetCommand, SameSizeAndTime };
    struct Case {
        const char* what;
        Other other;
        bool overwrite; // the answer, when asked
    };
    const Case cases[] = {
        {"unchanged", Other::Nothing, true},
        {"set, Yes", Other::SetCommand, true},
        {"set, No", Other::SetCommand, false},
        {"same size and time, Yes", Other::SameSizeAndTime, true},
        {"same size and time, No", Other::SameSizeAndTime, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.Messages.clear();
        const QString path =
            WriteProfile(folder.MakeDirectory(QString("d%1").arg(++n)) + "zq0001.xml");
        TProjectForm* form = TProjectForm::OpenProject(&area, path);
        Type(form, {"Edit12", "LasNr", "99", "INFO_MANU", "LASNR"});

        if (c.other == Other::SetCommand) {
            ASSERT_EQ(Set({"LasSer=Anna"}, {path.toStdString()}), 0);
        } else if (c.other == Other::SameSizeAndTime) {
            const auto time = std::filesystem::last_write_time(path.toStdString());
            std::string bytes = ReadFileBytes(path.toStdString());
            const std::size_t at = bytes.find("LASSER=\"Jan\"");
            ASSERT_NE(at, std::string::npos);
            bytes.replace(at, 12, "LASSER=\"Ann\"");
            WriteFileBytes(path.toStdString(), bytes);
            std::filesystem::last_write_time(path.toStdString(), time);
        }
        const std::string other = ReadFileBytes(path.toStdString());
        const std::string otherName = c.other == Other::SetCommand ? "Anna" : "Ann";
        dialogs.YesNoAnswers = {c.overwrite};

        EXPECT_TRUE(form->ProfileSave(false));
        const QStringList asked = dialogs.Texts("YesNo");
        if (c.other == Other::Nothing) {
            EXPECT_TRUE(asked.isEmpty());
        } else {
            ASSERT_EQ(asked.size(), 1);
            EXPECT_TRUE(asked[0].startsWith("File " + path + " was changed by another program"))
                << asked[0].toStdString();
        }
        EXPECT_FALSE(form->Modified);
        if (c.overwrite) {
            // The window's values, the name it showed included.
            EXPECT_EQ(Attribute(path, "INFO_MANU", "LASNR"), "99");
            EXPECT_EQ(Attribute(path, "INFO_MANU", "LASSER"), "Jan");
            EXPECT_EQ(Text(form, "Edit12"), "99");
        } else {
            EXPECT_EQ(ReadFileBytes(path.toStdString()), other);
            EXPECT_EQ(Text(form, "Edit7"), QString::fromStdString(otherName));
            EXPECT_EQ(Text(form, "Edit12"), "7");
        }

        // The window's own save is nobody else's: typing on is saved without a question.
        dialogs.Messages.clear();
        Type(form, {"Edit12", "LasNr", "100", "INFO_MANU", "LASNR"});
        EXPECT_TRUE(form->ProfileSave(false));
        EXPECT_TRUE(dialogs.Messages.isEmpty());
        EXPECT_EQ(Attribute(path, "INFO_MANU", "LASNR"), "100");
        form->close();
    }
}

TEST_F(ProjectSaveTest, OpeningAProjectRemovesTemporaryFilesOfKilledSaves) {
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    const QString dir = folder.MakeProject("t", 1);
    const QString stale = dir + ".zq0001.xml.tmp" + QString::number(gone) + "_0";
    const QString live = dir + ".zq0001.xml.tmp" + QString::number(getpid()) + "_0";
    for (const QString& name : {stale, live})
        WriteFileBytes(name.toStdString(), "half");
    TProjectForm::OpenProject(&area, dir + "zq0001.xml")->close();
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(live));

    WriteFileBytes(stale.toStdString(), "half");
    TProjectForm::NewProject(&area, dir)->close();
    EXPECT_FALSE(QFile::exists(stale));
}

} // namespace
