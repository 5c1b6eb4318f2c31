// Cost of building a profile record against the bare XML parse of the same file, and of the
// search-sized case: one record from each of 10,000 distinct files.
#include "core/NumberText.h"
#include "core/ProjectData.h"
#include "core/XmlWellFormed.h"
#include "testdata/ProfileGenerator.h"
#include "testdata/TestFiles.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <memory>
#include <string>

namespace {

using namespace ostiva;
using namespace ostiva::testdata;

constexpr int kSearchFiles = 10000;

// The shipped English language file: the real number of keys a record reads past.
const std::string kLanguageFile = std::string(OSTIVA_DATA_DIR) + "/ostiva_EN.ini";

ScopedTempDir& BenchDir() {
    static ScopedTempDir dir;
    return dir;
}

const std::string& TypicalFile() {
    static const std::string path = [] {
        const std::string p = BenchDir().File("zq_typical.xml");
        WriteProfileFile(p, GeneratorOptions{});
        return p;
    }();
    return path;
}

// Written once per run: a real search reads each file from disk.
const std::vector<std::string>& SearchFiles() {
    static const std::vector<std::string> paths = [] {
        std::vector<std::string> p;
        for (int i = 0; i < kSearchFiles; ++i) {
            GeneratorOptions o;
            o.seed = static_cast<std::uint32_t>(1000 + i);
            o.speed = i % 3 == 0 ? "120" : "80";
            p.push_back(BenchDir().File("zq" + std::to_string(i) + ".xml"));
            WriteProfileFile(p.back(), o);
        }
        return p;
    }();
    return paths;
}

void BM_BareParse(benchmark::State& state) {
    const std::string& path = TypicalFile();
    for (auto _ : state) {
        pugi::xml_document doc;
        benchmark::DoNotOptimize(doc.load_file(path.c_str()));
    }
}
BENCHMARK(BM_BareParse)->Unit(benchmark::kMicrosecond);

void BM_BuildRecord(benchmark::State& state) {
    const std::string& path = TypicalFile();
    for (auto _ : state) {
        const TProjectData record(path, "", kLanguageFile);
        if (!record.Error.empty())
            state.SkipWithError(record.Error.c_str());
        benchmark::DoNotOptimize(record.QI.data());
    }
}
BENCHMARK(BM_BuildRecord)->Unit(benchmark::kMicrosecond);

void BM_Search10000Files(benchmark::State& state) {
    const std::vector<std::string>& paths = SearchFiles();
    for (auto _ : state) {
        int aboveLimit = 0;
        for (const std::string& path : paths) {
            const TProjectData record(path, "", kLanguageFile);
            aboveLimit += ParseDecimal(record.QI) > 1.0;
        }
        benchmark::DoNotOptimize(aboveLimit);
    }
    state.counters["records"] = static_cast<double>(paths.size());
}
BENCHMARK(BM_Search10000Files)->Unit(benchmark::kMillisecond)->Iterations(3);

// The strict check every load runs before the parse, on the typical file held in memory.
void BM_WellFormedCheck(benchmark::State& state) {
    const std::string xml = GenerateProfileXml({});
    for (auto _ : state)
        CheckWellFormedXml(xml);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * xml.size()));
    state.counters["bytes"] = static_cast<double>(xml.size());
}
BENCHMARK(BM_WellFormedCheck)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
