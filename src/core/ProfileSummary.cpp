#include "core/ProfileSummary.h"

#include "core/NumberText.h"
#include "core/ProfileSearch.h"

namespace ostiva {

namespace {

// The norm's own bound, compared as the search compares a limit.
const std::string kNormBound = "1.00";

} // namespace

const char* VerdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::Within:
        return "within";
    case Verdict::Outside:
        return "outside";
    case Verdict::NoAssessment:
        break;
    }
    return "no assessment";
}

Verdict JudgeIndices(const std::string& qi, int topSamples, const std::string& qiZij,
                     int zijSamples) {
    if (topSamples <= 0 || zijSamples <= 0 || qi.empty() || qiZij.empty())
        return Verdict::NoAssessment;
    return IndexWithinLimit(qi, topSamples, kNormBound) &&
                   IndexWithinLimit(qiZij, zijSamples, kNormBound)
               ? Verdict::Within
               : Verdict::Outside;
}

SpeedIndices IndicesAtTableSpeed(const TProjectData& record, std::size_t row) {
    SpeedIndices indices;
    if (!record.Analysed || row >= kSpeedTable.size())
        return indices;
    const int v = kSpeedTable[row].speed;
    try {
        if (record.TopMeasCount > 0)
            indices.QI = Format5_2(NewNormIndex(v, record.Slopes));
        if (record.ZijMeasCount > 0)
            indices.QIZij = Format5_2(LateralQuality(v, record.ZijExcursion));
    } catch (const FloatingPointError&) {
        // A steepest inclination so large that the index overflows: nothing to judge.
        return {};
    }
    return indices;
}

SummaryRow SummarizeRecord(const TProjectData& record) {
    SummaryRow row;
    row.File = record.FileName;
    row.LasNr = record.LasNr;
    row.Plaats = record.Plaats;
    row.Spoor = record.Spoor;
    row.Wissel = record.Wissel;
    row.Datum = record.Datum;
    row.Tijd = record.Tijd;
    row.LasSer = record.LasSer;
    row.Snelheid = record.Snelheid;
    row.QI = record.QI;
    row.QIZij = record.QIZij;
    row.error = record.Error;
    row.loaded = record.Document.IsLoaded();
    row.analysed = record.Analysed;
    if (row.loaded)
        row.verdict =
            JudgeIndices(record.QI, record.TopMeasCount, record.QIZij, record.ZijMeasCount);
    for (std::size_t i = 0; i < kSpeedTable.size(); ++i) {
        row.atTableSpeed[i] = IndicesAtTableSpeed(record, i);
        const SpeedIndices& at = row.atTableSpeed[i];
        if (JudgeIndices(at.QI, record.TopMeasCount, at.QIZij, record.ZijMeasCount) ==
            Verdict::Within)
            row.MaxSpeed = kSpeedTable[i].speed;
    }
    return row;
}

SummaryRow RowAtTableSpeed(const SummaryRow& summary, std::size_t row) {
    SummaryRow r = summary;
    if (row >= kSpeedTable.size())
        return r;
    const int v = kSpeedTable[row].speed;
    r.Snelheid = std::to_string(v);
    const SpeedIndices& at = summary.atTableSpeed[row];
    r.QI = at.QI;
    r.QIZij = at.QIZij;
    // Without samples the indices are empty at every speed; the verdict needs only the texts.
    r.verdict = r.loaded
                    ? JudgeIndices(at.QI, at.QI.empty() ? 0 : 1, at.QIZij, at.QIZij.empty() ? 0 : 1)
                    : Verdict::NoAssessment;
    if (r.analysed)
        r.error.clear();
    return r;
}

std::optional<std::vector<SummaryRow>>
SummarizeProfiles(const std::string& directory, const std::vector<std::string>& names,
                  const std::string& speed, const std::string& languageFile,
                  const WorkProgress& progress, unsigned workers) {
    const std::string prefix =
        directory.empty() || directory.back() == '/' ? directory : directory + "/";
    // Read once: the same texts serve every record.
    const RecordLanguage language(languageFile);
    std::vector<SummaryRow> rows(names.size());
    const auto summarize = [&](std::size_t i) {
        const TProjectData record(prefix + names[i], speed, language);
        rows[i] = SummarizeRecord(record);
    };
    if (!RunOnWorkers(names.size(), workers, summarize, progress))
        return std::nullopt;
    return rows;
}

} // namespace ostiva
