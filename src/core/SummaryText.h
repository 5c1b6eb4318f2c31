#pragma once
// The project summary as text: CSV (RFC 4180) or JSON lines, the same for the command line
// tool and the summary window's export.
#include "core/ProfileSummary.h"

#include <string>
#include <vector>

namespace ostiva {

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

// The whole JSON text: one object per row, each ending in a line end.
std::string SummaryJson(const std::vector<SummaryRow>& rows);

} // namespace ostiva
