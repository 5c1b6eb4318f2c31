#pragma once
// Every modal question, message box and file dialog of the program goes through IDialogs, so
// that tests can replace the user with scripted answers.
#include <QString>
#include <QStringList>

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
    // Confirmation with Yes and No; true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Confirmation with OK and Cancel; true for OK.
    virtual bool AskOkCancel(QWidget* parent, const QString& caption, const QString& text) = 0;
    // One existing file; empty when cancelled.
    virtual QString OpenFile(QWidget* parent, const FileDialogSpec& spec) = 0;
    // Several existing files; empty when cancelled.
    virtual QStringList OpenFiles(QWidget* parent, const FileDialogSpec& spec) = 0;
    // One name that need not exist; empty when cancelled.
    virtual QString ChooseName(QWidget* parent, const FileDialogSpec& spec) = 0;
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
};

// "Desc|a;b|Desc2|c" in Qt's form "Desc (a b);;Desc2 (c)". A parenthesised part that ends a
// description gives way to the real patterns.
QString ToQtFilter(const QString& filter);
// True when every pattern of the filter is "...": the dialog then shows folders only.
bool IsFolderOnlyFilter(const QString& filter);

// The dialogs in use: the real ones unless a test installed its own.
IDialogs& Dialogs();
// Installs `dialogs` (not owned); nullptr restores the real dialogs.
void SetDialogs(IDialogs* dialogs);

// Shows an error message in the application's error box.
void ShowError(QWidget* parent, const QString& text);
// Shows a failure to read or write the language file, in a box with the caption "Error".
void ShowFileError(QWidget* parent, const QString& text);
