#pragma once
// The report command of ostiva-cli: the printed pages of profile files as a PDF file.
#include <string>
#include <vector>

namespace ostiva::cli {

struct ReportRequest {
    int kind = 0;
    std::string languageFile;
    std::string output;
    std::vector<std::string> profiles;
    bool compare = false; // profiles holds profile I and II of one comparison page
};

// Writes the composite report (one page per profile, in the order of the file names, letter
// case ignored, as the print dialog lists them) or the comparison page. Returns the exit
// status: 0 when written, 1 when a profile or the language file could not be read or the PDF
// could not be written (the message on stderr; no file is left behind).
int WriteReport(const ReportRequest& request);

} // namespace ostiva::cli
