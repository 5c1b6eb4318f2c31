#include "cli/SetCommand.h"

#include "core/IniFile.h"
#include "core/NormQuality.h"
#include "core/ProjectData.h"
#include "core/Utf8.h"

#include <iterator>

namespace ostiva::cli {

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
        if (upper(a[i]) != upper(b[i]))
            return false;
    }
    return true;
}

bool IsSpeedField(int header) {
    return TProjectData::kHeader[header].text == &TProjectData::Snelheid;
}

// The window offers only the speeds of its list, and judges by them.
std::string CheckSpeed(const std::string& value) {
    std::string listed;
    for (const SpeedLimit& limit : kSpeedTable) {
        if (value == std::to_string(limit.speed))
            return value;
        listed += (listed.empty() ? "" : ", ") + std::to_string(limit.speed);
    }
    throw FieldError("Snelheid must be one of " + listed);
}

} // namespace

FieldValue ParseFieldAssignment(const std::string& assignment) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos)
        throw FieldError("--field " + assignment + " needs the form NAME=VALUE");
    const std::string name = assignment.substr(0, equals);
    FieldValue field{-1, assignment.substr(equals + 1)};
    // The dump names are the attribute names in mixed case.
    for (int i = 0; i < static_cast<int>(std::size(TProjectData::kHeader)); ++i)
        if (SameNameIgnoringCase(name, TProjectData::kHeader[i].attribute))
            field.header = i;
    if (field.header < 0)
        throw FieldError("--field " + name + ": no such header field");
    // The window types only UTF-8; other bytes would be taken for Windows-1252 characters.
    if (!IsValidUtf8(field.value))
        throw FieldError("--field " + name + ": the value is not UTF-8 text");
    if (IsSpeedField(field.header))
        CheckSpeed(field.value);
    return field;
}

int SetHeaderFields(const std::vector<FieldValue>& fields, const std::vector<std::string>& profiles,
                    const std::string& languageFile, std::ostream& errors) {
    std::string speed;
    for (const FieldValue& field : fields)
        if (IsSpeedField(field.header))
            speed = field.value;
    int status = 0;
    for (const std::string& path : profiles) {
        try {
            // A new speed rebuilds the record from the file, its assessment included, just as
            // choosing it from the window's list does.
            TProjectData record(path, speed, languageFile);
            if (!record.Error.empty())
                throw std::runtime_error(record.Error);
            for (const FieldValue& field : fields) {
                const HeaderAttribute& h = TProjectData::kHeader[field.header];
                // Nothing is ever added to a file: a missing attribute would take no value.
                if (record.Document.GetAttribute(h.element, h.attribute) == kNotFound)
                    throw std::runtime_error(std::string("no attribute ") + h.attribute + " in " +
                                             h.element + " to set");
                record.*h.text = field.value;
            }
            record.Save(path);
        } catch (const std::exception& e) {
            errors << "ostiva-cli: " << path << ": " << e.what() << "\n";
            status = 1;
        }
    }
    return status;
}

} // namespace ostiva::cli
