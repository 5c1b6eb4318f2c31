// upload2, a stand-in for the device's transfer program, so that the download can be tried
// without a device. The "device" is the folder named by OSTIVA_DEVICE_DIR. Each run copies one
// profile file (zq*.xml, in name order) that the target directory does not hold yet into it and
// writes the file's name into "result" in the working directory; "NOTHING" when every profile
// is there already. Fetched files are recognised by comparing with the target directory, so
// the stand-in keeps no state of its own: a profile deleted from the project is fetched again.
//
//   OSTIVA_DEVICE_DIR=/path/to/device upload2 /path/to/project/
//
// The target directory is the whole command line after the program name, so a directory with
// a blank also arrives whole from a caller that split it. On an error the stand-in writes
// "STOP", so the download ends, and exits with 1 (2 for a wrong command line).
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool IsProfileName(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return name.size() >= 6 && name.starts_with("zq") && name.ends_with(".xml");
}

// Written beside and renamed, so the reader never sees half a line.
bool WriteResult(const std::string& line) {
    {
        std::ofstream out("result.tmp", std::ios::binary | std::ios::trunc);
        out << line << '\n';
        if (!out.flush())
            return false;
    }
    std::error_code error;
    fs::rename("result.tmp", "result", error);
    return !error;
}

int Fail(const std::string& message, int exitCode) {
    std::cerr << "upload2: " << message << '\n';
    WriteResult("STOP");
    return exitCode;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Fail("usage: upload2 TARGET-DIRECTORY (device folder in OSTIVA_DEVICE_DIR)", 2);
    std::string targetText = argv[1];
    for (int i = 2; i < argc; ++i)
        targetText += std::string(" ") + argv[i];
    const fs::path target(targetText);
    const char* deviceText = std::getenv("OSTIVA_DEVICE_DIR");
    if (deviceText == nullptr || *deviceText == '\0')
        return Fail("OSTIVA_DEVICE_DIR names no device folder", 1);
    const fs::path device(deviceText);

    std::error_code error;
    if (!fs::is_directory(target, error))
        return Fail("no target directory " + target.string(), 1);
    std::vector<std::string> names;
    for (fs::directory_iterator it(device, error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file() && IsProfileName(it->path().filename().string()))
            names.push_back(it->path().filename().string());
    if (error)
        return Fail("cannot read the device folder " + device.string() + ": " + error.message(), 1);
    std::sort(names.begin(), names.end());

    for (const std::string& name : names) {
        if (fs::exists(target / name, error))
            continue;
        // Copied under another name first, so the project never lists half a profile.
        const fs::path partial = target / (name + ".part");
        if (!fs::copy_file(device / name, partial, fs::copy_options::overwrite_existing, error) ||
            (fs::rename(partial, target / name, error), error)) {
            fs::remove(partial, error);
            return Fail("cannot copy " + name + " into " + target.string(), 1);
        }
        return WriteResult(name) ? 0 : Fail("cannot write result", 1);
    }
    return WriteResult("NOTHING") ? 0 : Fail("cannot write result", 1);
}
