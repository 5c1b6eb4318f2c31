#pragma once
// The summary command of ostiva-cli: one row per profile of a project folder with its header
// fields, quality indices, verdict and the highest table speed at which it is within the norm,
// as CSV or as JSON lines.
#include "core/SummaryText.h"

#include <ostream>
#include <string>
#include <vector>

namespace ostiva::cli {

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
