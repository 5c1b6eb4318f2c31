#pragma once
// The set command of ostiva-cli: header fields of profile files rewritten as the project
// window's Save writes them after the same typing.
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace ostiva::cli {

// A wrong NAME=VALUE; its message says what is wrong.
class FieldError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One header field to write: its index in TProjectData::kHeader and the value.
struct FieldValue {
    int header = 0;
    std::string value;
};

// Reads "NAME=VALUE". NAME is a header field as dump names it (Device, Datum, ..., Snelheid;
// letter case ignored); VALUE is any UTF-8 text, for Snelheid one of the speeds the project
// window lists. Throws FieldError.
FieldValue ParseFieldAssignment(const std::string& assignment);

// Writes `fields` into each profile, in order (of a field given twice the last value counts),
// exactly as the project window saves it after typing them: the record is built from the
// file (at the new speed, when Snelheid is among them, as the window's speed list does), the
// values replace the record's and the record is saved. A profile that cannot be read, lacks
// one of the fields, or cannot be written is named on `errors` and left as it was; the others
// are still written. Returns 0 when every profile was written, else 1.
int SetHeaderFields(const std::vector<FieldValue>& fields, const std::vector<std::string>& profiles,
                    const std::string& languageFile, std::ostream& errors);

} // namespace ostiva::cli
