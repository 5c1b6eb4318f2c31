#include "app/search/ProfileSearchCommand.h"

#include "app/common/AppContext.h"
#include "app/common/Dialogs.h"
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

// A found name as a pattern of the list's mask that matches only itself: the wildcard
// characters a file name may hold are put in brackets.
QString ExactPattern(const QString& name) {
    QString pattern;
    for (const QChar c : name) {
        if (c == '*' || c == '?' || c == '[' || c == '\\')
            pattern += QString('[') + c + ']';
        else
            pattern += c;
    }
    return pattern;
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
    std::optional<std::vector<std::string>> found;
    {
        QProgressDialog progress(dialog.windowTitle(), dialog.CancelCaption(), 0, int(names.size()),
                                 parent);
        progress.setObjectName("SearchProgress");
        progress.setWindowTitle(App().ApplicationTitle);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(kProgressDelayMs);
        try {
            found = ostiva::SearchProfiles(list.Directory().toStdString(), names, criteria,
                                           App().LanguageFile(),
                                           [&progress](std::size_t done, std::size_t) {
                                               // A cancelled box would show itself again on the
                                               // next value.
                                               if (progress.wasCanceled())
                                                   return false;
                                               progress.setValue(int(done));
                                               return !progress.wasCanceled();
                                           });
        } catch (const ostiva::IniError& e) {
            ShowFileError(parent, QString::fromUtf8(e.what()));
            return;
        } catch (const std::exception& e) {
            ShowError(parent, QString::fromUtf8(e.what()));
            return;
        }
    }
    // Cancelled: the list keeps showing all profiles.
    if (!found)
        return;
    if (found->empty()) {
        Dialogs().Information(parent, App().ApplicationTitle,
                              noMatchMessage + QString::fromStdString(ostiva::DescribeCriteria(
                                                   criteria, dialog.Captions())));
        return;
    }
    QStringList patterns;
    for (const std::string& name : *found)
        patterns << ExactPattern(QString::fromStdString(name));
    list.SetMask(patterns.join(';'));
}
