#pragma once
// The summary command of ostiva-cli: one row per profile of a project folder with its header
// fields, quality indices, verdict and the highest table speed at which it is within the norm,
// as CSV or as JSON lines.
#include "core/ProfileSummary.h"

#include <ostream>
#include <string>
#include <vector>

namespace ostiva::cli {

// The column keys in their order, the same for both formats.
extern const char* const kSummaryKeys[14];

// One JSON object, no line end: the keys above, MaxSpeed a number or null, error null or the
// record's message.
std::string SummaryJsonLine(const SummaryRow& row);

// One CSV record (RFC 4180) of `fields` with `separator`, ending in CR LF. Text that is not
// UTF-8 has its stray bytes replaced by U+FFFD.
std::string CsvLine(const std::vector<std::string>& fields, char separator);

// The whole CSV: the header row of the keys, then one line per row.
std::string SummaryCsv(const std::vector<SummaryRow>& rows, char separator);

struct SummaryRequest {
    std::string directory;
    std::string speed; // empty: each profile's own speed
    bool json = false;
    char separator = ',';
    std::string output; // empty: standard output
    std::string languageFile;
};

// Summarises the profiles of the folder (zq*.xml, in the project window's order) and writes
// the table to `out` or, through ReplaceFileContents, to the output file. A profile that could
// not be read keeps its row, with the message, and is named on `errors`. Returns 0 when every
// profile was read, 1 when one was not or the output could not be written.
int WriteSummary(const SummaryRequest& request, std::ostream& out, std::ostream& errors);

} // namespace ostiva::cli
