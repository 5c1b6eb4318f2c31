#include "cli/SummaryCommand.h"

#include "core/FileReplace.h"
#include "core/ProfileSearch.h"
#include "core/SummaryText.h"

namespace ostiva::cli {

int WriteSummary(const SummaryRequest& request, std::ostream& out, std::ostream& errors) {
    const std::vector<std::string> names = ListProfileFiles(request.directory);
    const auto rows =
        SummarizeProfiles(request.directory, names, request.speed, request.languageFile);
    const std::string text =
        request.json ? SummaryJson(*rows) : SummaryCsv(*rows, request.separator);
    int status = 0;
    for (const SummaryRow& row : *rows) {
        if (!row.loaded) {
            errors << "ostiva-cli: " << row.File << " could not be read: " << row.error << "\n";
            status = 1;
        }
    }
    if (request.output.empty()) {
        out << text;
        out.flush();
        return out ? status : 1;
    }
    try {
        ReplaceFileContents(request.output, text);
    } catch (const std::exception& e) {
        errors << "ostiva-cli: " << e.what() << "\n";
        return 1;
    }
    return status;
}

} // namespace ostiva::cli
