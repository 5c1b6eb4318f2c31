#include "app/shell/ProfileFileCommands.h"

#include "app/common/AppContext.h"
#include "app/common/Dialogs.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "app/shell/Commands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>

namespace {

constexpr const char* kAllProfiles = "zq*.xml";
constexpr qint64 kCopyBlock = 1 << 16;

// The message texts and paths of a box, joined with single blanks.
QString Joined(const CommandTexts& texts, int first, const QString& source, int second = 0,
               const QString& destination = QString()) {
    QString text = texts.Message(first) + " " + source;
    if (second > 0)
        text += " " + texts.Message(second) + " " + destination;
    return text;
}

void TellTransferFailed(QWidget* parent, const CommandTexts& texts, const QString& source,
                        const QString& destination) {
    Dialogs().Information(parent, App().ApplicationTitle, Joined(texts, 1, source, 2, destination));
}

// One line per failed file, so that a box stays on the screen with its OK button however many
// failed.
QString ListedForOneBox(const QStringList& lines, const CommandTexts& texts) {
    constexpr qsizetype kAtMost = 20;
    if (lines.size() <= kAtMost)
        return lines.join('\n');
    return (
               lines.first(kAtMost)
               << QString(texts.more).replace("%1", QString::number(lines.size() - kAtMost)))
        .join('\n');
}

QString ProfileCount(qsizetype count, const CommandTexts& texts) {
    return count == 1 ? texts.oneProfile
                      : QString(texts.profiles).replace("%1", QString::number(count));
}

// Moves a name within one file system without ever replacing the target. False with errno
// EXDEV when the two lie on different file systems.
bool RenameNoReplace(const QString& from, const QString& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD,
                    QFile::encodeName(to).constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
#endif
    // A file system without the flag: Qt's rename refuses an existing target too.
    errno = 0;
    return QFile::rename(from, to);
}

} // namespace

bool CopyWithoutReplacing(const QString& source, const QString& destination) {
    if (QFileInfo::exists(destination))
        return false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QTemporaryFile temp(QFileInfo(destination).absolutePath() + "/.ostiva-copy-XXXXXX");
    if (!temp.open())
        return false;
    QByteArray block;
    while (!(block = in.read(kCopyBlock)).isEmpty())
        if (temp.write(block) != block.size())
            return false;
    if (in.error() != QFileDevice::NoError || !temp.flush())
        return false;
    // The copy keeps the measurement's date and stays writable, so its header can be saved.
    temp.setFileTime(QFileInfo(source).lastModified(), QFileDevice::FileModificationTime);
    temp.setPermissions(in.permissions() | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    temp.close();
    if (temp.error() != QFileDevice::NoError || !RenameNoReplace(temp.fileName(), destination))
        return false; // the temporary file removes itself
    temp.setAutoRemove(false);
    return true;
}

bool MoveWithoutReplacing(const QString& source, const QString& destination) {
    if (RenameNoReplace(source, destination))
        return true;
    if (errno != EXDEV || !CopyWithoutReplacing(source, destination))
        return false;
    if (QFile::remove(source))
        return true;
    // The source stays, so the move did not happen: no second copy is left behind.
    QFile::remove(destination);
    return false;
}

bool SaveEditsFirst(TProjectForm& form) {
    return !(form.Editable && form.Modified) || form.ProfileSave(true);
}

void CopyProfilesInto(QWidget* parent, TProjectForm& form, const QStringList& files,
                      const CommandTexts& texts, int progressDelayMs) {
    const QPointer<TProjectForm> target(&form);
    const QString directory = form.ProjectDir;
    // Told after the loop, once the window-modal progress box has gone: a box shown while it
    // is up would sit beneath it, out of reach.
    QStringList failures;
    {
        QProgressDialog progress(kLoadDataTitle, "Cancel", 0, int(files.size()), parent);
        progress.setObjectName("LoadDataProgress");
        progress.setWindowTitle(App().ApplicationTitle);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(progressDelayMs);
        for (int i = 0; i < files.size(); ++i) {
            progress.setValue(i);
            // Between two files only: every file is copied whole or not at all.
            if (progress.wasCanceled())
                break;
            const QString destination = directory + QFileInfo(files[i]).fileName();
            if (!CopyWithoutReplacing(files[i], destination))
                failures << Joined(texts, 1, files[i], 2, destination);
        }
    }
    if (target)
        target->FileListBox1->Refresh();
    if (!failures.isEmpty())
        Dialogs().Information(parent, App().ApplicationTitle, ListedForOneBox(failures, texts));
}

void MoveListedProfiles(QWidget* parent, TProjectForm& form, const QString& targetDirectory,
                        const CommandTexts& texts) {
    TFileListBox& list = *form.FileListBox1;
    const QStringList entries = list.Entries();
    // The command's name says "copy"; the files leave the project all the same.
    const QString folder = QDir::toNativeSeparators(QDir::cleanPath(targetDirectory));
    if (!Dialogs().AskOkCancel(parent, App().ApplicationTitle,
                               // One pass: a "%" in the folder's name is not filled in.
                               texts.moveQuestion.arg(ProfileCount(entries.size(), texts), folder)))
        return;
    if (!SaveEditsFirst(form))
        return;
    qsizetype moved = 0;
    for (int i = 0; i < entries.size(); ++i) {
        list.SelectQuietly(i);
        const QString source = list.Directory() + entries[i];
        const QString destination = targetDirectory + entries[i];
        if (MoveWithoutReplacing(source, destination))
            ++moved;
        else
            TellTransferFailed(parent, texts, source, destination);
    }
    list.SetMask(kAllProfiles);
    Dialogs().Information(parent, App().ApplicationTitle,
                          texts.moved.arg(ProfileCount(moved, texts), folder));
}

void DeleteShownProfile(QWidget* parent, TProjectForm& form, const CommandTexts& texts) {
    const QString file = form.CurrentFile;
    if (!Dialogs().AskOkCancel(parent, App().ApplicationTitle, Joined(texts, 6, file)))
        return;
    if (!QFile::remove(file)) {
        Dialogs().Information(parent, App().ApplicationTitle, Joined(texts, 7, file));
        return;
    }
    // The deleted profile's edits are gone with it; the refresh must not offer to save them.
    form.Modified = false;
    form.FileListBox1->Refresh();
}
