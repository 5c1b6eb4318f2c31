#pragma once
// UTF-8 sequences, checked strictly: no overlong forms, surrogates or values above U+10FFFF.
#include <cstddef>
#include <string>
#include <string_view>

namespace ostiva {

// Length of the well-formed sequence at the start of `bytes` (not empty) with its code point
// in `cp`; 0 when the bytes there are not one.
std::size_t DecodeUtf8(std::string_view bytes, char32_t& cp);

void AppendUtf8(std::string& out, char32_t cp);

bool IsValidUtf8(std::string_view bytes);

} // namespace ostiva
