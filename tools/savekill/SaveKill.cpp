// Kills saves at random moments and checks what they leave: a child process loads and saves
// one profile over and over (alternating a header value, so that the file changes length),
// the parent kills it with SIGKILL after a random delay, then loads the profile as the
// program would and checks that it holds either the old or the new bytes, whole, that the load
// left no journal, and that the next save left no temporary file. Once with a hard-linked
// profile (rewritten in place) and once with a plain one (replaced by rename).
//
//   ostiva_save_kill [RUNS [MAX_DELAY_MS]]       (default 300 runs per kind, 40 ms)
//
// Exit status 0 when every run passed.
#include "core/FileReplace.h"
#include "core/ProfileDocument.h"
#include "testdata/ProfileGenerator.h"
#include "testdata/TestFiles.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace ostiva;
using namespace ostiva::testdata;
namespace fs = std::filesystem;

const std::string kShort = "1";
const std::string kLong(3000, 'L');

struct Counts {
    int runs = 0;
    int old = 0;         // the file held the bytes before the interrupted save
    int now = 0;         // the file held the bytes of the interrupted save
    int torn = 0;        // before the load: neither, so only the journal could mend it
    int journals = 0;    // a journal lay beside the file after the kill
    int temporaries = 0; // temporary files the kill left behind
    int failures = 0;
};

int CountTemporaries(const std::string& dir) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename().string().find(".tmp") != std::string::npos)
            ++n;
    return n;
}

// Saves for ever, each time switching DEVICE between its two values.
[[noreturn]] void SaveForEver(const std::string& path) {
    ProfileDocument doc;
    for (;;) {
        doc.Load(path);
        const bool wasShort = doc.GetAttribute("INFO_AUTO", "DEVICE") == kShort;
        doc.SetAttribute("INFO_AUTO", "DEVICE", wasShort ? kLong : kShort);
        doc.Save(path);
    }
}

Counts Run(const std::string& dir, bool linked, int runs, int maxDelayMs, std::mt19937& random) {
    const std::string path = dir + "/zq0001.xml";
    const std::string journal = dir + "/.zq0001.xml.ostiva-journal";
    // A generated profile made large with a comment, so that a save takes a while.
    std::string xml = GenerateProfileXml(GeneratorOptions{});
    xml.insert(xml.rfind('<'), "<!--" + std::string(400000, 'c') + "-->");
    WriteFileBytes(path, xml);
    if (linked)
        fs::create_hard_link(path, dir + "/zq0001-link.xml");
    // The two states the file may be in: DEVICE short and DEVICE long.
    ProfileDocument doc;
    doc.Load(path);
    doc.SetAttribute("INFO_AUTO", "DEVICE", kShort);
    doc.Save(path);
    const std::string shortBytes = ReadFileBytes(path);
    doc.SetAttribute("INFO_AUTO", "DEVICE", kLong);
    doc.Save(path);
    const std::string longBytes = ReadFileBytes(path);

    Counts c;
    std::uniform_int_distribution<int> delay(0, maxDelayMs * 1000);
    for (int i = 0; i < runs; ++i) {
        const std::string before = ReadFileBytes(path);
        const pid_t child = fork();
        if (child == 0)
            SaveForEver(path);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        ++c.runs;
        const std::string raw = ReadFileBytes(path);
        c.torn += raw != shortBytes && raw != longBytes;
        c.journals += fs::exists(journal);
        c.temporaries += CountTemporaries(dir);

        bool ok = true;
        try {
            doc.Load(path);
            const std::string loaded = ReadFileBytes(path);
            c.old += loaded == before;
            c.now += loaded != before && (loaded == shortBytes || loaded == longBytes);
            ok = (loaded == shortBytes || loaded == longBytes) && !fs::exists(journal);
            doc.Save(path); // unchanged: the same bytes, and the folder is cleaned
            ok = ok && ReadFileBytes(path) == loaded && CountTemporaries(dir) == 0;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "run %d: %s\n", i, e.what());
            ok = false;
        }
        if (!ok) {
            ++c.failures;
            std::fprintf(stderr, "run %d (%s): the file is damaged or something was left\n", i,
                         linked ? "hard-linked" : "plain");
            // Each run starts whole, so that one failure is not counted again in the next.
            fs::remove(journal);
            WriteFileBytes(path, before);
        }
    }
    if (linked && ReadFileBytes(dir + "/zq0001-link.xml") != ReadFileBytes(path))
        ++c.failures;
    return c;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::stoi(argv[1]) : 300;
    const int maxDelayMs = argc > 2 ? std::stoi(argv[2]) : 40;
    std::random_device seed;
    std::mt19937 random(seed());
    int failures = 0;
    for (const bool linked : {true, false}) {
        ScopedTempDir dir;
        const Counts c = Run(dir.Path(), linked, runs, maxDelayMs, random);
        std::printf("%-11s runs %d: old %d, new %d, failed %d; after the kill: torn %d, "
                    "journal %d, temporary files %d\n",
                    linked ? "hard-linked" : "plain", c.runs, c.old, c.now, c.failures, c.torn,
                    c.journals, c.temporaries);
        failures += c.failures;
    }
    return failures == 0 ? 0 : 1;
}
