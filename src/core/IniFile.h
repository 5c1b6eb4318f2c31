#pragma once
// The INI dialect of the settings and language files:
// - "[Section]" lines; "key=value" lines; section and key names compared without regard to case;
// - a value is the text after the first "=", trimmed of blanks, one pair of matching surrounding
//   quotes removed, at most 2047 characters;
// - a missing file, section or key gives the caller's default;
// - writing replaces a value in place, appends the key at the end of its section, appends the
//   section at the end of the file, or creates the file.
// - lines starting with ";" or "#" are comments; comments, blank and unknown lines are kept
//   as they stand when writing, and so are LF or CRLF line ends;
// - a section or key that appears twice is read and written at its first occurrence.
// Files are 8-bit text: read as UTF-8, or as Windows-1252 where they are not valid UTF-8 (files
// of Windows programs); values are handed out as UTF-8 and written back in the file's own
// encoding (a UTF-8 BOM is kept). A value a Windows-1252 file cannot hold is refused. A write
// changes the bytes of the one line it writes and no other, except where it takes away the last
// byte that marks a file as Windows-1252: the whole file is then written as UTF-8, so that every
// other key reads the same afterwards.
// Parsed files are cached by path and stat() identity, so reopening an unchanged file is cheap.
// Opening a file first rolls back a write of it that was cut off (RollBackInterruptedRewrite).
// A file with an overlay (IniOverlay.h) reads the overlay's keys first; writes go to the file
// opened.
#include <memory>
#include <stdexcept>
#include <string>

namespace ostiva {

// "Can't open ini-file %s" / "Unable to write to %s".
class IniError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct IniContents; // parsed lines of one file

class IniFile {
  public:
    // Opens `path` for one step. A file that does not exist is not an error (every key reads
    // its default); a file that exists but cannot be read throws IniError
    // "Can't open ini-file <path>".
    explicit IniFile(std::string path);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const std::string& Path() const { return path_; }
    bool Exists() const;

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    // Writes at once. Throws IniError "Unable to write to <path>" on failure, followed by the
    // reason when the file's encoding cannot hold the value.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

  private:
    std::string path_;
    std::shared_ptr<const IniContents> contents_;
    std::shared_ptr<const IniContents> overlay_; // the user's keys, read first
};

// The default text of every language-file lookup.
inline const std::string kMissingText = "Error";

// Settings file of an executable: a ".exe" (any case) ending the executable's name replaced by
// ".ini"; without one, the executable's path followed by ".ini".
std::string SettingsFilePath(const std::string& executablePath);

// Language file of code C: the executable's path without a ".exe" (any case) ending its name,
// then "_", C and ".ini".
std::string LanguageFilePath(const std::string& executablePath, const std::string& code);

// The five language codes in the order they are tested.
inline const char* const kLanguageCodes[] = {"EN", "NL", "DE", "ES", "FR"};

} // namespace ostiva
