#include "core/SummaryText.h"

#include "core/JsonText.h"
#include "core/Utf8.h"

#include <string_view>

namespace ostiva {

const char* const kSummaryKeys[14] = {"File",  "LasNr",   "Plaats",   "Spoor",    "Wissel",
                                      "Datum", "Tijd",    "LasSer",   "Snelheid", "QI",
                                      "QIZij", "Verdict", "MaxSpeed", "error"};

namespace {

std::string MaxSpeedText(const SummaryRow& row) {
    return row.MaxSpeed ? std::to_string(*row.MaxSpeed) : std::string();
}

std::vector<std::string> Fields(const SummaryRow& row) {
    return {row.File,          row.LasNr, row.Plaats, row.Spoor,
            row.Wissel,        row.Datum, row.Tijd,   row.LasSer,
            row.Snelheid,      row.QI,    row.QIZij,  VerdictText(row.verdict),
            MaxSpeedText(row), row.error};
}

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp;
        const std::size_t length = DecodeUtf8(text.substr(i), cp);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

} // namespace

std::string SummaryJsonLine(const SummaryRow& row) {
    const std::vector<std::string> fields = Fields(row);
    std::string out = "{";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            out += ',';
        out += JsonString(kSummaryKeys[i]);
        out += ':';
        const std::string_view key = kSummaryKeys[i];
        if (key == "MaxSpeed")
            out += row.MaxSpeed ? fields[i] : "null";
        else if (key == "error")
            out += row.error.empty() ? "null" : JsonString(row.error);
        else
            out += JsonString(fields[i]);
    }
    return out + "}";
}

std::string CsvLine(const std::vector<std::string>& fields, char separator) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            out += separator;
        const std::string text = ValidUtf8(fields[i]);
        if (text.find_first_of(std::string("\"\r\n") + separator) == std::string::npos) {
            out += text;
            continue;
        }
        out += '"';
        for (const char c : text) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    return out + "\r\n";
}

std::string SummaryCsv(const std::vector<SummaryRow>& rows, char separator) {
    std::string out = CsvLine(
        std::vector<std::string>(std::begin(kSummaryKeys), std::end(kSummaryKeys)), separator);
    for (const SummaryRow& row : rows)
        out += CsvLine(Fields(row), separator);
    return out;
}

std::string SummaryJson(const std::vector<SummaryRow>& rows) {
    std::string out;
    for (const SummaryRow& row : rows)
        out += SummaryJsonLine(row) + "\n";
    return out;
}

} // namespace ostiva
