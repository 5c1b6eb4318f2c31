#include "app/common/Dialogs.h"

#include "app/common/AppContext.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

IDialogs* installedDialogs = nullptr;

struct FilterEntry {
    QString description;
    QStringList patterns;
};

// A filter whose last description has no pattern uses the description as its pattern, so
// that a bare "..." still means folders only.
QList<FilterEntry> ParseFilter(const QString& filter) {
    QList<FilterEntry> entries;
    if (filter.trimmed().isEmpty())
        return entries;
    const QStringList parts = filter.split('|');
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = i + 1 < parts.size() ? parts[i + 1] : parts[i];
        QStringList patterns;
        for (const QString& p : pattern.split(';', Qt::SkipEmptyParts))
            if (!p.trimmed().isEmpty())
                patterns << p.trimmed();
        entries.append({description, patterns});
    }
    return entries;
}

QStringList RunFileDialog(QWidget* parent, const FileDialogSpec& spec, QFileDialog::FileMode mode) {
    QFileDialog dialog(parent, spec.title, spec.startFolder);
    dialog.setFileMode(mode);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (IsFolderOnlyFilter(spec.filter)) {
        // The user opens the wanted folder and types the name; the platform dialogs cannot
        // hide files while still accepting a typed name.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    }
    if (!spec.filter.trimmed().isEmpty())
        dialog.setNameFilter(ToQtFilter(spec.filter));
    if (!spec.fileName.isEmpty())
        dialog.selectFile(spec.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

} // namespace

QString ToQtFilter(const QString& filter) {
    static const QRegularExpression trailingPatterns(R"(\s*\([^()]*\)\s*$)");
    QStringList qtFilters;
    for (const FilterEntry& entry : ParseFilter(filter)) {
        QString description = entry.description;
        description.remove(trailingPatterns);
        const QString patterns = entry.patterns.isEmpty() ? "*" : entry.patterns.join(' ');
        qtFilters << (description.isEmpty() ? patterns : description + " (" + patterns + ")");
    }
    return qtFilters.join(";;");
}

bool IsFolderOnlyFilter(const QString& filter) {
    const QList<FilterEntry> entries = ParseFilter(filter);
    if (entries.isEmpty())
        return false;
    for (const FilterEntry& entry : entries)
        if (entry.patterns != QStringList{"..."})
            return false;
    return true;
}

void QtDialogs::Error(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox::critical(parent, caption.isEmpty() ? QStringLiteral("Error") : caption, text,
                          QMessageBox::Ok);
}

void QtDialogs::Information(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::information(parent, caption, text, QMessageBox::Ok);
}

bool QtDialogs::AskYesNo(QWidget* parent, const QString& caption, const QString& text) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

bool QtDialogs::AskOkCancel(QWidget* parent, const QString& caption, const QString& text) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

QString QtDialogs::OpenFile(QWidget* parent, const FileDialogSpec& spec) {
    const QStringList files = RunFileDialog(parent, spec, QFileDialog::ExistingFile);
    return files.isEmpty() ? QString() : files.first();
}

QStringList QtDialogs::OpenFiles(QWidget* parent, const FileDialogSpec& spec) {
    return RunFileDialog(parent, spec, QFileDialog::ExistingFiles);
}

QString QtDialogs::ChooseName(QWidget* parent, const FileDialogSpec& spec) {
    const QStringList files = RunFileDialog(parent, spec, QFileDialog::AnyFile);
    return files.isEmpty() ? QString() : files.first();
}

IDialogs& Dialogs() {
    static QtDialogs realDialogs;
    return installedDialogs ? *installedDialogs : realDialogs;
}

void SetDialogs(IDialogs* dialogs) {
    installedDialogs = dialogs;
}

void ShowError(QWidget* parent, const QString& text) {
    Dialogs().Error(parent, text, App().ApplicationTitle);
}

void ShowFileError(QWidget* parent, const QString& text) {
    Dialogs().Error(parent, text, QStringLiteral("Error"));
}
