#include "core/ProfileSearch.h"

#include "core/NumberText.h"
#include "core/ProfileDocument.h"
#include "core/Utf8.h"
#include "core/WorkerPool.h"

#include <algorithm>
#include <filesystem>

namespace ostiva {

namespace {

// Simple lower-case mapping of ASCII, Latin-1 and Latin Extended-A letters: enough for the
// names and places the header fields hold.
char32_t FoldLetter(char32_t c) {
    if (c >= 'A' && c <= 'Z')
        return c + ('a' - 'A');
    if (c < 0xC0)
        return c;
    if (c <= 0xDE)
        return c == 0xD7 ? c : c + 0x20; // U+00D7 is the multiplication sign
    if (c == 0x130)
        return 'i'; // capital I with dot above
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return c | 1; // pairs: capital even, small odd
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return c % 2 ? c + 1 : c; // pairs: capital odd, small even
    if (c == 0x178)
        return 0xFF; // Y with diaeresis
    if (c == 0x17F)
        return 's'; // long s
    return c;
}

// UTF-8 text with every letter folded; bytes that are not UTF-8 stay as they are.
std::string Fold(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out += static_cast<char>(FoldLetter(byte));
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t length = DecodeUtf8(text.substr(i), cp);
        if (length == 0) {
            out += text[i];
            ++i;
        } else {
            AppendUtf8(out, FoldLetter(cp));
            i += length;
        }
    }
    return out;
}

bool TextHolds(const std::string& field, const std::string& text) {
    // A header attribute the file lacks reads "not found": there is nothing to search in.
    if (text.empty() || field.empty() || field == kNotFound)
        return false;
    return Fold(field).find(Fold(text)) != std::string::npos;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    const auto [ia, ib] =
        std::mismatch(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) {
            return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
        });
    if (ib == b.end())
        return ia == a.end() ? a < b : false; // equal but for case: a fixed order all the same
    if (ia == a.end())
        return true;
    return lower(static_cast<unsigned char>(*ia)) < lower(static_cast<unsigned char>(*ib));
}

// zq*.xml, letter case ignored.
bool IsProfileName(const std::string& name) {
    if (name.size() < 6)
        return false;
    std::string lower = name;
    for (char& c : lower)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
    return lower.starts_with("zq") && lower.ends_with(".xml");
}

} // namespace

bool IndexWithinLimit(const std::string& index, int samples, const std::string& limit) {
    return samples > 0 && !index.empty() && ParseDecimal(index) <= ParseDecimal(limit);
}

bool SearchCriteria::AnyOn() const {
    return qiTopOn || qiZijOn || operatorOn || switchOn || weldNumberOn;
}

bool MeetsCriteria(const TProjectData& record, const SearchCriteria& criteria) {
    if (criteria.qiTopOn && !IndexWithinLimit(record.QI, record.TopMeasCount, criteria.qiTopLimit))
        return false;
    if (criteria.qiZijOn &&
        !IndexWithinLimit(record.QIZij, record.ZijMeasCount, criteria.qiZijLimit))
        return false;
    if (criteria.operatorOn && !TextHolds(record.LasSer, criteria.operatorText))
        return false;
    if (criteria.switchOn && !TextHolds(record.Wissel, criteria.switchText))
        return false;
    if (criteria.weldNumberOn && !TextHolds(record.LasNr, criteria.weldNumberText))
        return false;
    return true;
}

std::string DescribeCriteria(const SearchCriteria& criteria,
                             const std::array<std::string, 5>& captions) {
    const struct {
        bool on;
        const char* relation;
        const std::string& value;
    } parts[] = {{criteria.qiTopOn, "<", criteria.qiTopLimit},
                 {criteria.qiZijOn, "<", criteria.qiZijLimit},
                 {criteria.operatorOn, "=", criteria.operatorText},
                 {criteria.switchOn, "=", criteria.switchText},
                 {criteria.weldNumberOn, "=", criteria.weldNumberText}};
    std::string text = " ";
    for (std::size_t i = 0; i < std::size(parts); ++i)
        if (parts[i].on)
            text += captions[i] + parts[i].relation + parts[i].value + " ";
    return text;
}

std::optional<SearchResult> SearchProfiles(const std::string& directory,
                                           const std::vector<std::string>& names,
                                           const SearchCriteria& criteria,
                                           const std::string& languageFile,
                                           const SearchProgress& progress) {
    return SearchProfiles(directory, names, criteria, languageFile, progress, 0);
}

std::optional<SearchResult> SearchProfiles(const std::string& directory,
                                           const std::vector<std::string>& names,
                                           const SearchCriteria& criteria,
                                           const std::string& languageFile,
                                           const SearchProgress& progress, unsigned workers) {
    const std::size_t total = names.size();
    const std::string prefix =
        directory.empty() || directory.back() == '/' ? directory : directory + "/";

    // Each worker builds the record of its file, notes the verdict in the file's own slot and
    // drops the record.
    std::vector<char> matches(total, 0);
    std::vector<std::string> errors(total);
    const auto judge = [&](std::size_t i) {
        const TProjectData record(prefix + names[i], "", languageFile);
        // A file that could not be loaded has no header or samples to judge; one loaded whose
        // analysis failed (a speed outside the table) still has its header.
        if (!record.Document.IsLoaded())
            errors[i] = record.Error.empty() ? "not loaded" : record.Error;
        else
            matches[i] = MeetsCriteria(record, criteria);
    };
    if (!RunOnWorkers(total, workers, judge, progress))
        return std::nullopt;

    SearchResult result;
    for (std::size_t i = 0; i < total; ++i) {
        if (matches[i])
            result.found.push_back(names[i]);
        else if (!errors[i].empty())
            result.unreadable.push_back({names[i], errors[i]});
    }
    return result;
}

std::vector<std::string> ListProfileFiles(const std::string& directory) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        const std::string name = it->path().filename().string();
        if (IsProfileName(name) && it->is_regular_file(typeError))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    return names;
}

ProfileClash ClashWithProfiles(const std::string& path, const std::string& directory) {
    namespace fs = std::filesystem;
    ProfileClash clash;
    std::error_code ec;
    for (const std::string& name : ListProfileFiles(directory))
        if (fs::equivalent(path, fs::path(directory) / name, ec)) {
            clash.replaced = name;
            return clash;
        }
    const fs::path target(path);
    const fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
    clash.becomesProfile =
        IsProfileName(target.filename().string()) && fs::equivalent(parent, directory, ec);
    return clash;
}

} // namespace ostiva
