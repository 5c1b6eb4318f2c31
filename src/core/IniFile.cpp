#include "core/IniFile.h"

#include "core/FileBytes.h"
#include "core/FileReplace.h"
#include "core/IniOverlay.h"
#include "core/Utf8.h"
#include "core/Windows1252.h"

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <string_view>
#include <sys/stat.h>
#include <time.h>
#include <unordered_map>
#include <vector>

namespace ostiva {

// How the file's bytes are read: UTF-8 where they are well-formed and Windows-1252 where not
// (a file with a BOM, or one that is all UTF-8), or Windows-1252 throughout (a file without a
// BOM that is not UTF-8: an 8-bit file of a Windows program).
enum class TextEncoding { Utf8, Windows1252 };

struct IniLine {
    std::string bytes; // as in the file, without its line end: a line nobody writes stays so
    std::string end;   // "\n", "\r\n", or "" for a last line without one
};

struct IniContents {
    std::string raw; // the file's bytes, to recognise an unchanged file cheaply
    TextEncoding encoding = TextEncoding::Utf8;
    bool bom = false;
    std::string newline = "\n"; // line end of added lines: the file's own style
    std::vector<IniLine> lines;
    // Lower-case section -> lower-case key -> finished value, built once per parse so that
    // the many lookups of a language file stay cheap.
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> values;
};

namespace {

constexpr size_t kMaxValueCharacters = 2047;
constexpr std::string_view kBom = "\xEF\xBB\xBF";

// ---- Text encoding -------------------------------------------------------------------------

// Length of the well-formed UTF-8 sequence at s[i], or 0 when there is none.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
    char32_t ignored;
    return DecodeUtf8(s.substr(i), ignored);
}

// UTF-8 as it stands; any byte that is not part of a well-formed sequence is taken as
// Windows-1252.
std::string ToValidUtf8(std::string_view s) {
    if (IsValidUtf8(s))
        return std::string(s);
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (size_t i = 0; i < s.size();) {
        const size_t length = Utf8SequenceLength(s, i);
        if (length == 0) {
            out += Windows1252ToUtf8(s.substr(i, 1));
            ++i;
        } else {
            out.append(s.substr(i, length));
            i += length;
        }
    }
    return out;
}

// A value the file's 8-bit encoding cannot hold: the write is refused with this reason.
class UnencodableValue : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Cuts valid UTF-8 after `maxCharacters` characters.
void CutToCharacters(std::string& s, size_t maxCharacters) {
    size_t i = 0;
    for (size_t count = 0; i < s.size() && count < maxCharacters; ++count)
        i += std::max<size_t>(1, Utf8SequenceLength(s, i));
    if (i < s.size())
        s.resize(i);
}

std::string Decode(std::string_view bytes, TextEncoding encoding) {
    return encoding == TextEncoding::Windows1252 ? Windows1252ToUtf8(bytes) : ToValidUtf8(bytes);
}

// The bytes of a UTF-8 text in the file's encoding.
std::string Encode(const std::string& text, TextEncoding encoding) {
    if (encoding != TextEncoding::Windows1252)
        return text;
    try {
        return Utf8ToWindows1252(text);
    } catch (const std::exception& e) {
        throw UnencodableValue(std::string("the file is 8-bit text and ") + e.what());
    }
}

// ---- Lines of the dialect ------------------------------------------------------------------

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool IsQuoted(std::string_view s) {
    return s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front();
}

struct LineShape {
    enum Kind { Other, Section, Key } kind = Other;
    std::string_view name; // trimmed section or key name
    size_t valueStart = 0; // key lines: index after the "="
};

// Comment (";" or "#"), blank and unknown lines are kept as they stand and never hold a key.
// The marks of the dialect are ASCII, which every encoding of the file keeps as it is, so a
// line is classified on its bytes; names are decoded before they are compared.
LineShape Classify(std::string_view line) {
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '#')
        return {};
    if (t.front() == '[') {
        const size_t close = t.find(']');
        if (close == std::string_view::npos)
            return {};
        return {LineShape::Section, Trim(t.substr(1, close - 1)), 0};
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return {};
    return {LineShape::Key, Trim(line.substr(0, equals)), equals + 1};
}

std::string FinishValue(std::string_view rawValue) {
    std::string_view v = Trim(rawValue);
    if (IsQuoted(v))
        v = v.substr(1, v.size() - 2);
    std::string value(v);
    CutToCharacters(value, kMaxValueCharacters);
    return value;
}

std::shared_ptr<const IniContents> Parse(std::string raw) {
    auto contents = std::make_shared<IniContents>();
    std::string_view body = raw;
    if (body.substr(0, kBom.size()) == kBom) {
        contents->bom = true;
        body.remove_prefix(kBom.size());
    }
    if (!contents->bom && !IsValidUtf8(body))
        contents->encoding = TextEncoding::Windows1252;
    const std::string_view text = body;

    bool styleKnown = false;
    for (size_t start = 0; start < text.size();) {
        const size_t lf = text.find('\n', start);
        IniLine line;
        if (lf == std::string::npos) {
            line.bytes = text.substr(start);
            start = text.size();
        } else {
            const bool crlf = lf > start && text[lf - 1] == '\r';
            line.bytes = text.substr(start, lf - start - (crlf ? 1 : 0));
            line.end = crlf ? "\r\n" : "\n";
            start = lf + 1;
            if (!styleKnown) {
                contents->newline = line.end;
                styleKnown = true;
            }
        }
        contents->lines.push_back(std::move(line));
    }

    // A section or key that appears twice is read from its first occurrence; the writer
    // changes that same occurrence, so what is written is what is read back.
    const TextEncoding encoding = contents->encoding;
    std::unordered_map<std::string, std::string>* section = nullptr;
    for (const IniLine& line : contents->lines) {
        const LineShape shape = Classify(line.bytes);
        if (shape.kind == LineShape::Section) {
            const auto [it, added] =
                contents->values.try_emplace(Lower(Decode(shape.name, encoding)));
            section = added ? &it->second : nullptr;
        } else if (shape.kind == LineShape::Key && section != nullptr) {
            section->try_emplace(
                Lower(Decode(shape.name, encoding)),
                FinishValue(
                    Decode(std::string_view(line.bytes).substr(shape.valueStart), encoding)));
        }
    }
    contents->raw = std::move(raw);
    return contents;
}

std::string Serialize(const IniContents& contents) {
    std::string out = contents.bom ? std::string(kBom) : std::string();
    for (const IniLine& line : contents.lines) {
        out += line.bytes;
        out += line.end;
    }
    return out;
}

// A Windows-1252 file is recognised by bytes that are not UTF-8. When a write has taken away
// the last of them, the next read would take the file as UTF-8 and other keys would change
// ("\xC3\xA4" is two characters in Windows-1252, one in UTF-8): the file then becomes UTF-8,
// every line re-encoded, so that each key still reads what it read before. A file of plain
// ASCII reads the same either way and is left alone.
void KeepEveryKeyReadingTheSame(IniContents& contents) {
    if (contents.encoding != TextEncoding::Windows1252)
        return;
    bool ascii = true;
    for (const IniLine& line : contents.lines) {
        if (!IsValidUtf8(line.bytes))
            return;
        ascii = ascii && std::all_of(line.bytes.begin(), line.bytes.end(),
                                     [](char c) { return (c & 0x80) == 0; });
    }
    if (ascii)
        return;
    for (IniLine& line : contents.lines)
        line.bytes = Windows1252ToUtf8(line.bytes);
    contents.encoding = TextEncoding::Utf8;
}

// A line break inside a name or value would split the line and make up keys of its own.
std::string OneLine(std::string_view s) {
    std::string out = ToValidUtf8(s);
    for (char& c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

void SetValue(IniContents& contents, const std::string& section, const std::string& key,
              const std::string& value) {
    auto& lines = contents.lines;
    const TextEncoding encoding = contents.encoding;
    const std::string wantedSection = Lower(section);
    const std::string wantedKey = Lower(key);
    const auto nameIs = [&](std::string_view name, const std::string& wanted) {
        return Lower(Decode(name, encoding)) == wanted;
    };

    size_t header = lines.size();
    for (size_t i = 0; i < lines.size() && header == lines.size(); ++i) {
        const LineShape shape = Classify(lines[i].bytes);
        if (shape.kind == LineShape::Section && nameIs(shape.name, wantedSection))
            header = i;
    }

    auto endLastLine = [&] {
        if (!lines.empty() && lines.back().end.empty())
            lines.back().end = contents.newline;
    };
    if (header == lines.size()) {
        IniLine sectionLine{Encode("[" + section + "]", encoding), contents.newline};
        IniLine keyLine{Encode(key + "=" + value, encoding), contents.newline};
        endLastLine();
        if (!lines.empty() && !Trim(lines.back().bytes).empty())
            lines.push_back({"", contents.newline});
        lines.push_back(std::move(sectionLine));
        lines.push_back(std::move(keyLine));
        return;
    }

    size_t lastContent = header;
    for (size_t i = header + 1; i < lines.size(); ++i) {
        const std::string_view text = lines[i].bytes;
        const LineShape shape = Classify(text);
        if (shape.kind == LineShape::Section)
            break;
        if (shape.kind == LineShape::Key && nameIs(shape.name, wantedKey)) {
            // Keeps the key's bytes and the blanks around "=" as the file has them.
            const std::string_view rest = text.substr(shape.valueStart);
            size_t blanks = 0;
            while (blanks < rest.size() && IsBlank(rest[blanks]))
                ++blanks;
            lines[i].bytes =
                std::string(text.substr(0, shape.valueStart + blanks)) + Encode(value, encoding);
            return;
        }
        const std::string_view t = Trim(text);
        if (!t.empty() && t.front() != ';' && t.front() != '#')
            lastContent = i; // a new key goes after the last key, not after trailing comments
    }
    IniLine keyLine{Encode(key + "=" + value, encoding), contents.newline};
    if (lines[lastContent].end.empty())
        lines[lastContent].end = contents.newline;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastContent + 1), std::move(keyLine));
}

// ---- Reading with a cache ------------------------------------------------------------------

// The file's identity as far as stat() tells it; any rewrite changes one of these.
struct FileStamp {
    dev_t device;
    ino_t inode;
    off_t size;
    timespec modified;
    timespec changed;

    static FileStamp Of(const struct stat& st) {
        return {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
    }
    bool operator==(const FileStamp& o) const {
        return device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
               changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

struct CacheEntry {
    FileStamp stamp;
    // File timestamps tick coarsely, so a file changed shortly before or while it was read
    // may keep its stamp through a second change. Such an entry is checked against the
    // file's bytes at every open until the file has been quiet for a while.
    bool settled;
    std::shared_ptr<const IniContents> contents;
};

constexpr time_t kSettleSeconds = 3;
constexpr size_t kMaxCachedFiles = 64;

std::mutex cacheMutex;
std::unordered_map<std::string, CacheEntry> cache;

[[noreturn]] void ThrowCantOpen(const std::string& path) {
    throw IniError("Can't open ini-file " + path);
}

// The parsed file, or null when it does not exist.
std::shared_ptr<const IniContents> LoadContents(const std::string& path) {
    // A write of this file that was cut off while rewriting it in place is undone first.
    try {
        RollBackInterruptedRewrite(path);
    } catch (const std::exception&) {
        ThrowCantOpen(path);
    }
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return nullptr;
        ThrowCantOpen(path);
    }
    if (!S_ISREG(st.st_mode))
        ThrowCantOpen(path);

    std::shared_ptr<const IniContents> previous;
    {
        const std::lock_guard lock(cacheMutex);
        if (const auto it = cache.find(path); it != cache.end()) {
            if (it->second.settled && it->second.stamp == FileStamp::Of(st))
                return it->second.contents;
            previous = it->second.contents;
        }
    }

    timespec readStart{};
    clock_gettime(CLOCK_REALTIME, &readStart);
    std::string raw;
    try {
        raw = ReadRegularFile(path, &st);
    } catch (const FileReadError& e) {
        if (e.NotFound())
            return nullptr;
        ThrowCantOpen(path);
    }

    auto contents = previous && previous->raw == raw ? previous : Parse(std::move(raw));
    const bool settled = st.st_mtim.tv_sec + kSettleSeconds < readStart.tv_sec;
    const std::lock_guard lock(cacheMutex);
    if (cache.size() >= kMaxCachedFiles && cache.find(path) == cache.end())
        cache.clear();
    cache.insert_or_assign(path, CacheEntry{FileStamp::Of(st), settled, contents});
    return contents;
}

// Position of the ".exe" (any case) that ends the executable's name, or npos. A ".exe" elsewhere
// in the path (a folder named "my.exercises") is part of a name, not an extension.
size_t FindExe(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (path.size() < nameStart + 4 || Lower(path.substr(path.size() - 4)) != ".exe")
        return std::string::npos;
    return path.size() - 4;
}

// The value of section/key in `contents`, or null.
const std::string* Find(const IniContents* contents, const std::string& section,
                        const std::string& key) {
    if (!contents)
        return nullptr;
    const auto s = contents->values.find(Lower(section));
    if (s == contents->values.end())
        return nullptr;
    const auto k = s->second.find(Lower(key));
    return k == s->second.end() ? nullptr : &k->second;
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)), contents_(LoadContents(path_)) {
    if (const std::string overlay = IniOverlayOf(path_); !overlay.empty())
        overlay_ = LoadContents(overlay);
}

IniFile::~IniFile() = default;

bool IniFile::Exists() const {
    return contents_ != nullptr || overlay_ != nullptr;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
    if (const std::string* mine = Find(overlay_.get(), section, key))
        return *mine;
    const std::string* shipped = Find(contents_.get(), section, key);
    return shipped ? *shipped : defaultValue;
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
    try {
        // The file as it is now: another writer may have changed it since this one opened.
        const auto current = LoadContents(path_);
        IniContents edited = current ? *current : IniContents{};

        // A value that looks quoted gets one more pair, so that it reads back as written.
        std::string stored = OneLine(value);
        if (IsQuoted(Trim(stored)))
            stored = "\"" + std::string(Trim(stored)) + "\"";
        SetValue(edited, OneLine(section), OneLine(key), stored);
        KeepEveryKeyReadingTheSame(edited);

        std::string bytes = Serialize(edited);
        ReplaceFileContents(path_, bytes);
        contents_ = Parse(std::move(bytes));
    } catch (const UnencodableValue& e) {
        throw IniError("Unable to write to " + path_ + ": " + e.what());
    } catch (const std::exception&) {
        throw IniError("Unable to write to " + path_);
    }
}

std::string SettingsFilePath(const std::string& executablePath) {
    std::string path = executablePath;
    const size_t exe = FindExe(path);
    if (exe == std::string::npos)
        return path + ".ini";
    return path.replace(exe, 4, ".ini");
}

std::string LanguageFilePath(const std::string& executablePath, const std::string& code) {
    std::string path = executablePath;
    if (const size_t exe = FindExe(path); exe != std::string::npos)
        path.erase(exe, 4);
    return path + "_" + code + ".ini";
}

} // namespace ostiva
