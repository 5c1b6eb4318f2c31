#pragma once
// One profile record as one line of JSON.
#include "core/ProjectData.h"

#include <string>
#include <string_view>

namespace ostiva::cli {

// Every text and array field of the record under its own name, the captions as an object and
// "error" (null or the construction message); no line end.
std::string RecordToJson(const TProjectData& record);

} // namespace ostiva::cli
