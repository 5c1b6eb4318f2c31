#include "core/ProfileSearch.h"

#include "core/NumberText.h"
#include "core/ProfileDocument.h"
#include "core/Utf8.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>

namespace ostiva {

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(50);

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

// The index is compared as its text reads. An index from no samples at all, or no index (the
// speed is not in the table), says nothing about the weld.
bool QualityHolds(const std::string& index, int samples, const std::string& limit) {
    return samples > 0 && !index.empty() && ParseDecimal(index) <= ParseDecimal(limit);
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

bool SearchCriteria::AnyOn() const {
    return qiTopOn || qiZijOn || operatorOn || switchOn || weldNumberOn;
}

bool MeetsCriteria(const TProjectData& record, const SearchCriteria& criteria) {
    if (criteria.qiTopOn && !QualityHolds(record.QI, record.TopMeasCount, criteria.qiTopLimit))
        return false;
    if (criteria.qiZijOn && !QualityHolds(record.QIZij, record.ZijMeasCount, criteria.qiZijLimit))
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
    if (workers == 0)
        workers = std::max(1u, std::thread::hardware_concurrency());
    workers =
        static_cast<unsigned>(std::min<std::size_t>(workers, std::max<std::size_t>(total, 1)));

    // Each worker takes the next file, builds its record, notes the verdict in its own slot and
    // drops the record; so the result keeps the given order however the files are shared out.
    std::vector<char> matches(total, 0);
    std::vector<std::string> errors(total);
    std::atomic<std::size_t> next{0}, done{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable finished;
    unsigned running = workers;
    std::exception_ptr failure;
    std::size_t failedAt = total;

    const auto work = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= total || stop.load())
                break;
            try {
                const TProjectData record(prefix + names[i], "", languageFile);
                // A file that could not be loaded has no header or samples to judge; one loaded
                // whose analysis failed (a speed outside the table) still has its header.
                if (!record.Document.IsLoaded())
                    errors[i] = record.Error.empty() ? "not loaded" : record.Error;
                else
                    matches[i] = MeetsCriteria(record, criteria);
            } catch (...) {
                // Of the failures met before the workers stopped, the earliest file's is
                // reported, whichever thread met it.
                const std::lock_guard lock(mutex);
                if (i < failedAt) {
                    failedAt = i;
                    failure = std::current_exception();
                }
                stop = true;
                break;
            }
            done.fetch_add(1);
        }
        {
            const std::lock_guard lock(mutex);
            --running;
        }
        finished.notify_all();
    };

    bool cancelled = false;
    {
        std::vector<std::jthread> threads;
        // Whatever leaves this block (a thread that cannot start, a throwing progress), the
        // workers are told to stop before the threads are joined.
        struct StopOnExit {
            std::atomic<bool>& stop;
            ~StopOnExit() { stop = true; }
        };
        threads.reserve(workers);
        const StopOnExit stopOnExit{stop};
        for (unsigned w = 0; w < workers; ++w)
            threads.emplace_back(work);

        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, kProgressInterval, [&] { return running == 0; })) {
            if (!progress || cancelled)
                continue;
            lock.unlock();
            const bool goOn = progress(done.load(), total);
            lock.lock();
            if (!goOn) {
                cancelled = true;
                stop = true;
            }
        }
    }
    if (failure)
        std::rethrow_exception(failure);
    if (cancelled || (progress && !progress(total, total)))
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

} // namespace ostiva
