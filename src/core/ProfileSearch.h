#pragma once
// Finding the profiles of a project that meet up to five criteria: the vertical and the
// lateral quality index at most a limit, and the operator, the switch/km and the weld number
// containing a text. Used by the search command of the project window and by ostiva-cli.
#include "core/ProjectData.h"
#include "core/WorkerPool.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ostiva {

struct SearchCriteria {
    bool qiTopOn = false;
    std::string qiTopLimit = "1.0";
    bool qiZijOn = false;
    std::string qiZijLimit = "1.0";
    bool operatorOn = false;
    std::string operatorText;
    bool switchOn = false;
    std::string switchText;
    bool weldNumberOn = false;
    std::string weldNumberText;

    bool AnyOn() const;
};

// Whether the record meets every switched-on criterion. A quality index is compared as its
// formatted text reads (" 1.00" meets "1.0"); a text criterion holds when the field contains
// the text, letter case ignored, and never for an empty text or field. A profile without
// vertical (lateral) samples never meets the vertical (lateral) quality criterion, nor does one
// whose index is empty (a speed outside the table). Letter case is folded for ASCII and for the
// Latin-1 and Latin Extended-A letters; a header attribute the file lacks ("not found") counts
// as an empty field.
bool MeetsCriteria(const TProjectData& record, const SearchCriteria& criteria);

// A quality index compared as its text reads (" 1.00" is within "1.0"). An index from no
// samples at all, or no index (the speed is not in the table), says nothing about the weld:
// never within.
bool IndexWithinLimit(const std::string& index, int samples, const std::string& limit);

// The criteria as the message of an empty result shows them: one blank, then for each
// switched-on criterion its caption, "<" and the limit or "=" and the text, and one blank.
// `captions`: vertical quality, lateral quality, operator, switch/km, weld number.
std::string DescribeCriteria(const SearchCriteria& criteria,
                             const std::array<std::string, 5>& captions);

// Called with the number of files examined so far and the total; returning false cancels.
using SearchProgress = WorkProgress;

// A file that could not be loaded (missing, unreadable, not well-formed): its name and the
// record's error message.
struct UnreadableProfile {
    std::string name;
    std::string message;
    bool operator==(const UnreadableProfile&) const = default;
};

struct SearchResult {
    std::vector<std::string> found;            // the names that met the criteria
    std::vector<UnreadableProfile> unreadable; // never found, whatever the criteria
};

// Builds one record per file `directory` + name (no speed override, limits and captions from
// `languageFile`) and returns the names that meet the criteria and those of the files that
// could not be loaded, with the record's message, each in the order given; nullopt when
// `progress` cancelled. Records may be built on several threads, each holding one record at a
// time; `progress` is called on the calling thread only. Throws IniError when the language
// file cannot be read.
// A "/" is put between `directory` and the name when `directory` does not end with one.
// `progress` is called about every 50 ms while records are built and once more with
// done == total at the end (returning false then still cancels). With no criterion switched
// on every readable name is found (the records are still built).
std::optional<SearchResult> SearchProfiles(const std::string& directory,
                                           const std::vector<std::string>& names,
                                           const SearchCriteria& criteria,
                                           const std::string& languageFile,
                                           const SearchProgress& progress = {});

// The same on `workers` threads (0: one per hardware thread). The result never depends on it.
std::optional<SearchResult> SearchProfiles(const std::string& directory,
                                           const std::vector<std::string>& names,
                                           const SearchCriteria& criteria,
                                           const std::string& languageFile,
                                           const SearchProgress& progress, unsigned workers);

// The names of the profile files (zq*.xml, letter case ignored) of `directory`, sorted as the
// project window lists them: by name, letter case ignored. Only regular files (or links to
// them) count; a directory that cannot be read lists nothing.
std::vector<std::string> ListProfileFiles(const std::string& directory);

// What writing a file at `path` would do to the profiles of `directory`: replace one of them
// (its name in `replaced`, under whatever name or link `path` reaches it), or add a file the
// project would read as one (a zq*.xml beside them).
struct ProfileClash {
    std::string replaced;
    bool becomesProfile = false;
};
ProfileClash ClashWithProfiles(const std::string& path, const std::string& directory);

} // namespace ostiva
