#include "core/ProgramFiles.h"

#include "core/FileReplace.h"
#include "core/IniFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace ostiva {

namespace fs = std::filesystem;

namespace {

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
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
    if (!folderWritable && !userFolder.empty()) {
        const fs::path own = fs::path(userFolder) / fs::path(besidePath).filename();
        if (IsFile(own))
            return own.string();
    }
    return ProgramDataFile(besidePath);
}

std::string WritableProgramFile(const std::string& besidePath, bool folderWritable,
                                const std::string& userFolder) {
    if (!folderWritable && userFolder.empty())
        throw IniError("Unable to write to " + besidePath + ": no home folder");
    const std::string target =
        folderWritable ? besidePath
                       : (fs::path(userFolder) / fs::path(besidePath).filename()).string();
    if (IsFile(target))
        return target;
    const std::string source = ReadableProgramFile(besidePath, folderWritable, userFolder);
    try {
        if (!folderWritable)
            fs::create_directories(userFolder);
        if (source != target && IsFile(source)) {
            std::ifstream in(source, std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            if (!in)
                throw std::runtime_error("cannot read " + source);
            ReplaceFileContents(target, bytes.str());
        }
    } catch (const std::exception& e) {
        throw IniError("Unable to write to " + target + ": " + e.what());
    }
    return target;
}

} // namespace ostiva
