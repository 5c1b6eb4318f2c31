#include "app/search/ProfileSearchCommand.h"

#include "app/common/AppContext.h"
#include "app/common/Dialogs.h"
#include "app/common/ProgressFollower.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "app/search/TSearchForm.h"
#include "core/IniFile.h"
#include "core/ProfileSearch.h"

#include <QProgressDialog>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kAllProfiles = "zq*.xml";
// A search that ends sooner shows no progress box.
constexpr int kProgressDelayMs = 500;

// A box stays on the screen with its OK button however many files failed.
constexpr std::size_t kListedFilesAtMost = 20;

// One line per file that could not be read: its name and the record's message.
QString UnreadableText(const std::vector<ostiva::UnreadableProfile>& unreadable,
                       const TSearchForm& dialog) {
    QStringList lines{dialog.UnreadableCaption()};
    for (std::size_t i = 0; i < unreadable.size() && i < kListedFilesAtMost; ++i)
        lines << QString::fromStdString(unreadable[i].name + ": " + unreadable[i].message);
    if (unreadable.size() > kListedFilesAtMost)
        lines << QString(dialog.MoreCaption())
                     .replace("%1", QString::number(unreadable.size() - kListedFilesAtMost));
    return lines.join('\n');
}

} // namespace

void RunProfileSearch(QWidget* parent, TSearchForm& dialog, TProjectForm& form,
                      const QString& noMatchMessage) {
    if (!dialog.Ask())
        return;
    TFileListBox& list = *form.FileListBox1;
    list.SetMask(kAllProfiles);
    const ostiva::SearchCriteria criteria = dialog.Criteria();
    if (!criteria.AnyOn())
        return;

    std::vector<std::string> names;
    for (const QString& entry : list.Entries())
        names.push_back(entry.toStdString());
    std::optional<ostiva::SearchResult> result;
    {
        QProgressDialog progress(dialog.windowTitle(), dialog.CancelCaption(), 0, int(names.size()),
                                 parent);
        progress.setObjectName("SearchProgress");
        progress.setWindowTitle(App().ApplicationTitle);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(kProgressDelayMs);
        try {
            result = ostiva::SearchProfiles(list.Directory().toStdString(), names, criteria,
                                            App().LanguageFile(), FollowedBy(progress));
        } catch (const ostiva::IniError& e) {
            ShowFileError(parent, QString::fromUtf8(e.what()));
            return;
        } catch (const std::exception& e) {
            ShowError(parent, QString::fromUtf8(e.what()));
            return;
        }
    }
    // Cancelled: the list keeps showing all profiles.
    if (!result)
        return;
    if (result->found.empty()) {
        Dialogs().Information(parent, App().ApplicationTitle,
                              noMatchMessage + QString::fromStdString(ostiva::DescribeCriteria(
                                                   criteria, dialog.Captions())));
    } else {
        QStringList names;
        names.reserve(qsizetype(result->found.size()));
        for (const std::string& name : result->found)
            names << QString::fromStdString(name);
        list.ShowOnly(names);
    }
    // Once for all of them, after the result is in place and the progress box has gone.
    if (!result->unreadable.empty())
        ShowError(parent, UnreadableText(result->unreadable, dialog));
}
