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
// case ignored, as the print dialog lists them) or the comparison page. A profile that cannot
// be read is named on stderr and still gets its page, from what its record holds. Returns the
// exit status: 0 when every profile was read and the PDF written, 1 when a profile could not
// be read (the PDF is written all the same), or when the language file or the PDF failed (the
// message on stderr; then no file is left behind).
int WriteReport(const ReportRequest& request);

} // namespace ostiva::cli
