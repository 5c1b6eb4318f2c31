#pragma once
// JSON text of the command line tool and the program's exports.
#include <string>
#include <string_view>

namespace ostiva {

// A JSON string literal of UTF-8 text; bytes that are not UTF-8 become U+FFFD.
std::string JsonString(std::string_view text);

} // namespace ostiva
