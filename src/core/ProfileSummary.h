#pragma once
// The project summary: per profile the header fields, the quality indices at one speed, the
// verdict and the highest table speed at which the weld is within the norm. Each profile's
// record is built once; the eleven table speeds are judged from its speed-independent analysis.
#include "core/NormQuality.h"
#include "core/ProjectData.h"
#include "core/WorkerPool.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace ostiva {

enum class Verdict { Within, Outside, NoAssessment };

// "within", "outside", "no assessment".
const char* VerdictText(Verdict verdict);

// Both indices at most 1.00 as their texts read: within; either more: outside; either missing
// (no samples, a speed outside the table, no record): no assessment.
Verdict JudgeIndices(const std::string& qi, int topSamples, const std::string& qiZij,
                     int zijSamples);

// The indices of a record at one speed, texts as the record gives them ("%5.2f"; empty without
// samples or without an index).
struct SpeedIndices {
    std::string QI, QIZij;
    bool operator==(const SpeedIndices&) const = default;
};

// The record's indices at table speed kSpeedTable[row], from its speed-independent analysis:
// the same texts the record built at that speed holds. Both empty when the record was not
// analysed.
SpeedIndices IndicesAtTableSpeed(const TProjectData& record, std::size_t row);

struct SummaryRow {
    std::string File, LasNr, Plaats, Spoor, Wissel, Datum, Tijd, LasSer, Snelheid, QI, QIZij;
    Verdict verdict = Verdict::NoAssessment;
    // The highest table speed at which both indices read at most 1.00; none when there is no
    // such speed or the samples could not be judged at all.
    std::optional<int> MaxSpeed;
    // The record's construction message, empty when it was built without fault.
    std::string error;
    // False when the file could not be loaded at all.
    bool loaded = false;
    // True when the samples were analysed (the table speeds could be judged).
    bool analysed = false;
    // Both indices at each of the eleven table speeds, for a new choice of speed without
    // reading the file again.
    std::array<SpeedIndices, 11> atTableSpeed{};
};

// The row of one record (built at the speed the row is to show).
SummaryRow SummarizeRecord(const TProjectData& record);

// The row as it reads at table speed kSpeedTable[row] instead: indices and verdict at that speed,
// Snelheid the speed. Once the samples were analysed the only faults left are those of the own
// speed (outside the table), so the message is dropped.
SummaryRow RowAtTableSpeed(const SummaryRow& summary, std::size_t row);

// One row per name of `directory` (a "/" is put between them when needed), in the order given,
// each from the record built with `speed` as speed override (empty: the profile's own speed).
// One worker per hardware thread (`workers` 0) or `workers`, each holding one record at a time.
// nullopt when `progress` cancelled (see RunOnWorkers). Throws IniError when the language file
// cannot be read.
std::optional<std::vector<SummaryRow>>
SummarizeProfiles(const std::string& directory, const std::vector<std::string>& names,
                  const std::string& speed, const std::string& languageFile,
                  const WorkProgress& progress = {}, unsigned workers = 0);

} // namespace ostiva
