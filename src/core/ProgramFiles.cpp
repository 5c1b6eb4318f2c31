#include "core/ProgramFiles.h"

#include "core/FileBytes.h"
#include "core/FileReplace.h"
#include "core/IniFile.h"
#include "core/IniOverlay.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace ostiva {

namespace fs = std::filesystem;

namespace {

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// The executable's path without a ".exe" ending, from its settings file "<stem>.ini" or a
// language file "<stem>_XX.ini".
std::string ProgramStem(const std::string& besidePath) {
    std::string stem = besidePath;
    if (stem.size() >= 4 && stem.compare(stem.size() - 4, 4, ".ini") == 0)
        stem.resize(stem.size() - 4);
    for (const char* code : kLanguageCodes)
        if (stem.size() > 3 && stem.compare(stem.size() - 3, 3, std::string("_") + code) == 0) {
            stem.resize(stem.size() - 3);
            break;
        }
    return stem;
}

std::string UserFile(const std::string& besidePath, const std::string& userFolder) {
    return (fs::path(userFolder) / fs::path(besidePath).filename()).string();
}

} // namespace

std::string UserConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return (fs::path(config) / "ostiva").string();
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return (fs::path(home) / ".config" / "ostiva").string();
    return {};
}

bool FolderWritable(const std::string& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool KeepsFilesBeside(const std::string& besidePath, bool folderWritable) {
    if (!folderWritable)
        return false;
    const std::string stem = ProgramStem(besidePath);
    if (IsFile(stem + ".ini"))
        return true;
    for (const char* code : kLanguageCodes)
        if (IsFile(stem + "_" + code + ".ini"))
            return true;
    return false;
}

std::string ProgramDataFile(const std::string& besidePath) {
    const fs::path beside(besidePath);
    if (IsFile(beside))
        return besidePath;
    const fs::path shared =
        beside.parent_path().parent_path() / "share" / "ostiva" / beside.filename();
    return IsFile(shared) ? shared.string() : besidePath;
}

std::string ReadableProgramFile(const std::string& besidePath, bool folderWritable,
                                const std::string& userFolder) {
    const std::string installed = ProgramDataFile(besidePath);
    if (KeepsFilesBeside(besidePath, folderWritable) || userFolder.empty()) {
        SetIniOverlay(installed, {});
        return installed;
    }
    const std::string own = UserFile(besidePath, userFolder);
    if (!IsFile(installed))
        return IsFile(own) ? own : installed;
    SetIniOverlay(installed, own);
    return installed;
}

std::string WritableProgramFile(const std::string& besidePath, bool folderWritable,
                                const std::string& userFolder) {
    if (KeepsFilesBeside(besidePath, folderWritable)) {
        // A file missing beside the executable starts as a copy of the installed one, so that
        // writing one key keeps all the others.
        const std::string installed = ProgramDataFile(besidePath);
        if (installed != besidePath && IsFile(installed)) {
            try {
                ReplaceFileContents(besidePath, ReadRegularFile(installed));
            } catch (const std::exception& e) {
                throw IniError("Unable to write to " + besidePath + ": " + e.what());
            }
        }
        return besidePath;
    }
    if (userFolder.empty())
        throw IniError("Unable to write to " + besidePath + ": no home folder");
    const std::string target = UserFile(besidePath, userFolder);
    std::error_code ec;
    fs::create_directories(userFolder, ec);
    if (ec)
        throw IniError("Unable to write to " + target + ": " + ec.message());
    return target;
}

} // namespace ostiva
