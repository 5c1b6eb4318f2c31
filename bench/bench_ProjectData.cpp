// Cost of building a profile record against the bare XML parse of the same file, and of the
// search-sized case: one record from each of 10,000 distinct files, one after the other and
// through the search's worker threads.
#include "core/NumberText.h"
#include "core/ProfileSearch.h"
#include "core/ProfileSummary.h"
#include "core/ProjectData.h"
#include "core/XmlWellFormed.h"
#include "testdata/ProfileGenerator.h"
#include "testdata/TestFiles.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <memory>
#include <string>
#include <thread>

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

// The same with the language file read once, as the summary builds its records.
void BM_BuildRecordSharedLanguage(benchmark::State& state) {
    const std::string& path = TypicalFile();
    const RecordLanguage language(kLanguageFile);
    for (auto _ : state) {
        const TProjectData record(path, "", language);
        if (!record.Error.empty())
            state.SkipWithError(record.Error.c_str());
        benchmark::DoNotOptimize(record.QI.data());
    }
}
BENCHMARK(BM_BuildRecordSharedLanguage)->Unit(benchmark::kMicrosecond);

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

// The same files through SearchProfiles: one worker per hardware thread.
void BM_SearchProfiles10000(benchmark::State& state) {
    const std::vector<std::string>& paths = SearchFiles();
    std::vector<std::string> names;
    for (const std::string& path : paths)
        names.push_back(path.substr(path.rfind('/') + 1));
    SearchCriteria criteria;
    criteria.qiTopOn = true;
    for (auto _ : state) {
        const auto found = SearchProfiles(BenchDir().Path(), names, criteria, kLanguageFile);
        if (!found) {
            state.SkipWithError("cancelled");
            break;
        }
        benchmark::DoNotOptimize(found->found.size());
    }
    state.counters["records"] = static_cast<double>(names.size());
    state.counters["threads"] = static_cast<double>(std::thread::hardware_concurrency());
}
// Real time is the figure that counts; CPU time is that of all threads together.
BENCHMARK(BM_SearchProfiles10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The project summary of the same files: one record per file, its indices judged at the eleven
// table speeds from the record's speed-independent analysis.
void BM_Summary10000(benchmark::State& state) {
    const std::vector<std::string>& paths = SearchFiles();
    std::vector<std::string> names;
    for (const std::string& path : paths)
        names.push_back(path.substr(path.rfind('/') + 1));
    for (auto _ : state) {
        const auto rows = SummarizeProfiles(BenchDir().Path(), names, "", kLanguageFile);
        if (!rows) {
            state.SkipWithError("cancelled");
            break;
        }
        benchmark::DoNotOptimize(rows->data());
    }
    state.counters["records"] = static_cast<double>(names.size());
    state.counters["threads"] = static_cast<double>(std::thread::hardware_concurrency());
}
BENCHMARK(BM_Summary10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

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
