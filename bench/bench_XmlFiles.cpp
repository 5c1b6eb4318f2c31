// Cost of hostile profile files: one element with 100,000 attributes (about 1 MB), checked
// for well-formedness alone and loaded as a whole document.
#include "core/ProfileDocument.h"
#include "core/XmlWellFormed.h"
#include "testdata/TestFiles.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace ostiva;
using namespace ostiva::testdata;

const std::string& ManyAttributes() {
    static const std::string xml = [] {
        std::string x = "<r><INFO_AUTO";
        for (int i = 0; i < 100000; ++i)
            x += " attribute" + std::to_string(i) + "=\"v\"";
        return x + "/></r>";
    }();
    return xml;
}

void BM_WellFormed100000Attributes(benchmark::State& state) {
    for (auto _ : state)
        CheckWellFormedXml(ManyAttributes());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * ManyAttributes().size()));
}
BENCHMARK(BM_WellFormed100000Attributes)->Unit(benchmark::kMillisecond);

void BM_Load100000Attributes(benchmark::State& state) {
    static ScopedTempDir dir;
    const std::string path = dir.File("zq_attributes.xml");
    WriteFileBytes(path, ManyAttributes());
    for (auto _ : state) {
        ProfileDocument doc;
        doc.Load(path);
        benchmark::DoNotOptimize(doc.GetAttribute("INFO_AUTO", "DEVICE"));
    }
}
BENCHMARK(BM_Load100000Attributes)->Unit(benchmark::kMillisecond);

} // namespace
