#pragma once
// Every modal question, message box and file dialog of the program goes through IDialogs, so
// that tests can replace the user with scripted answers.
#include <QDialog>
#include <QString>
#include <QStringList>

class QFileSystemModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class QUrl;
class QWidget;

struct FileDialogSpec {
    QString title;
    QString filter;      // "Description|pattern|Description|pattern"; a pattern may hold "a;b"
    QString startFolder; // empty: the toolkit's choice
    QString fileName;    // pre-filled name
};

class IDialogs {
  public:
    virtual ~IDialogs() = default;
    // Error box with an OK button; `caption` defaults to "Error".
    virtual void Error(QWidget* parent, const QString& text, const QString& caption) = 0;
    // Information box with an OK button.
    virtual void Information(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Confirmation with Yes and No; true for Yes. Only a click on Yes or No answers it: Escape
    // and the close box would otherwise pass for No and throw away what the user typed.
    virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Confirmation with OK and Cancel; true for OK.
    virtual bool AskOkCancel(QWidget* parent, const QString& caption, const QString& text) = 0;
    // One existing file; empty when cancelled.
    virtual QString OpenFile(QWidget* parent, const FileDialogSpec& spec) = 0;
    // Several existing files; empty when cancelled.
    virtual QStringList OpenFiles(QWidget* parent, const FileDialogSpec& spec) = 0;
    // One name that need not exist; empty when cancelled.
    virtual QString ChooseName(QWidget* parent, const FileDialogSpec& spec) = 0;
    // The name of a file to write, an existing one only after the user agreed to replace it;
    // empty when cancelled.
    virtual QString SaveFile(QWidget* parent, const FileDialogSpec& spec) = 0;
    // Opens a file or address with the desktop's associated program; false when no program
    // could be started for it (the caller says so).
    virtual bool OpenDocument(const QUrl& document) = 0;
    // Warning box with an OK button.
    virtual void Warning(QWidget* parent, const QString& caption, const QString& text) = 0;
};

// The real dialogs: QMessageBox and QFileDialog.
class QtDialogs : public IDialogs {
  public:
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
};

// "Desc|a;b|Desc2|c" in Qt's form "Desc (a b);;Desc2 (c)". A parenthesised part that ends a
// description gives way to the real patterns.
QString ToQtFilter(const QString& filter);
// True when every pattern of the filter is "...": the dialog then shows folders only.
bool IsFolderOnlyFilter(const QString& filter);

// The file dialog of a name in a folder (folder-only filters: New Project, Copy To): a tree of
// folders, the filter's description as the instruction, and a name field. OK gives the
// selected folder joined with the typed name, also when that names an existing folder, which
// the caller then refuses with its own message; a plain file dialog would open that folder.
class FolderNameDialog : public QDialog {
  public:
    FolderNameDialog(QWidget* parent, const FileDialogSpec& spec);

    QString Folder() const; // the selected folder; empty when none is
    void SetFolder(const QString& folder);
    QString ChosenPath() const; // PathInFolder(Folder(), the typed name)

  private:
    void ShowChosenPath();

    QFileSystemModel* model_ = nullptr;
    QTreeView* folders_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLabel* chosenPath_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// The full path a name typed in `folder` stands for: surrounding blanks dropped, an absolute
// name taken as it is, "." and ".." resolved. Empty when the name or the folder is.
QString PathInFolder(const QString& folder, const QString& name);

// The dialogs in use: the real ones unless a test installed its own.
IDialogs& Dialogs();
// Installs `dialogs` (not owned); nullptr restores the real dialogs.
void SetDialogs(IDialogs* dialogs);

// Shows an error message in the application's error box.
void ShowError(QWidget* parent, const QString& text);
// Shows a failure to read or write the language file, in a box with the caption "Error".
void ShowFileError(QWidget* parent, const QString& text);
