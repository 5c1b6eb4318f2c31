#pragma once
// Shared helpers of the GUI tests: scripted answers in place of the user, and a temporary
// executable folder with the language files, the settings file and generated profiles.
#include "app/common/Dialogs.h"
#include "testdata/ProfileGenerator.h"

#include <QAbstractButton>
#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

// The child of `parent` with that object name; a test failure when there is none.
template <typename T> T* FindNamed(const QObject* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

// True when no ancestor, a scroll area's viewport included, cuts anything of the widget off.
bool WhollyInSight(const QWidget* widget);

// A file's bytes; "<missing>" when it cannot be read.
QByteArray FileBytes(const QString& path);
// Every file of the folder by name, hidden ones included: a left-over temporary file shows here.
QStringList FilesIn(const QString& directory);

// A dialog whose question is answered without a modal loop: Ask() shows it, `User` works it,
// and it must be closed again when `User` returns. `Self` is the deriving test class.
template <typename Dialog, typename Self> class DrivenDialog : public Dialog {
  public:
    using Dialog::Dialog;
    std::function<void(Self&)> User;
    int Asked = 0;

    bool Ask() override {
        ++Asked;
        this->setResult(QDialog::Rejected);
        this->show();
        if (User)
            User(static_cast<Self&>(*this));
        EXPECT_FALSE(this->isVisible()) << "the dialog was left open";
        return this->result() == QDialog::Accepted;
    }
    template <typename T> T* Find(const QString& name) { return FindNamed<T>(this, name); }
    void Click(const QString& button) {
        QTest::mouseClick(Find<QAbstractButton>(button), Qt::LeftButton);
    }
};

// Installs itself as the program's dialogs for its lifetime. Questions and file dialogs take
// their answers from the queues, first in first out; an empty queue answers No, Cancel or
// cancels the file dialog, and counts in Unanswered.
class ScriptedDialogs : public IDialogs {
  public:
    struct Message {
        QString kind; // "Error", "Information", "Warning", "YesNo" or "OkCancel"
        QString caption;
        QString text;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    QList<bool> YesNoAnswers;
    QList<bool> OkCancelAnswers;
    QStringList FileAnswers;         // OpenFile, ChooseName and SaveFile
    QList<QStringList> FilesAnswers; // OpenFiles

    QList<Message> Messages;           // every box and question, in order
    QList<FileDialogSpec> FileDialogs; // every file dialog, in order
    QStringList OpenedDocuments;       // local paths, or the address of anything else
    bool ViewerStarts = true;          // OpenDocument's answer: false plays a desktop without one
    int Unanswered = 0;

    // The texts of the shown messages of one kind, in order.
    QStringList Texts(const QString& kind) const;

    void Error(QWidget* parent, const QString& text, const QString& caption) override;
    void Information(QWidget* parent, const QString& caption, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) override;
    bool AskOkCancel(QWidget* parent, const QString& caption, const QString& text) override;
    QString OpenFile(QWidget* parent, const FileDialogSpec& spec) override;
    QStringList OpenFiles(QWidget* parent, const FileDialogSpec& spec) override;
    QString ChooseName(QWidget* parent, const FileDialogSpec& spec) override;
    QString SaveFile(QWidget* parent, const FileDialogSpec& spec) override;
    bool OpenDocument(const QUrl& document) override;
    void Warning(QWidget* parent, const QString& caption, const QString& text) override;

  private:
    bool Answer(QList<bool>& queue);
    QString NextFile(const FileDialogSpec& spec);
};

// A temporary folder that plays the executable's folder: App().ExecutablePath becomes
// <tmp>/ostiva, so the settings file is <tmp>/ostiva.ini and the language files
// <tmp>/ostiva_XX.ini. The language code and remembered directory start afresh and are
// restored afterwards.
class ExecutableFolder {
  public:
    static QStringList AllLanguages() { return {"EN", "NL", "DE", "ES", "FR"}; }

    // Copies the language files of `languages` from the source tree.
    explicit ExecutableFolder(const QStringList& languages = AllLanguages());
    ~ExecutableFolder();
    ExecutableFolder(const ExecutableFolder&) = delete;
    ExecutableFolder& operator=(const ExecutableFolder&) = delete;

    QString Path() const; // without a trailing separator
    QString SettingsFile() const;
    QString LanguageFile(const QString& code) const;

    void WriteSetting(const QString& section, const QString& key, const QString& value) const;
    // The value, or `missing` when the key is absent.
    QString ReadSetting(const QString& section, const QString& key,
                        const QString& missing = "<missing>") const;
    bool HasSetting(const QString& section, const QString& key) const;
    // The keys of one section of the settings file, in file order.
    QStringList SettingKeys(const QString& section) const;

    // Writes one generated profile file; returns its full path.
    QString WriteProfile(const QString& path,
                         const ostiva::testdata::GeneratorOptions& options = {}) const;
    // Creates <tmp>/<name>/ with `count` profiles zq0001.xml, zq0002.xml, ... (seeds 1, 2, ...);
    // returns the directory with a trailing separator.
    QString MakeProject(const QString& name, int count = 3) const;
    // Creates an empty directory <tmp>/<name>/ and returns it with a trailing separator.
    QString MakeDirectory(const QString& name) const;

  private:
    QTemporaryDir dir_;
    QString savedExecutable_, savedLanguage_, savedRemembered_;
};
