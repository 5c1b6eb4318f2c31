#pragma once
// A strict XML 1.0 well-formedness check run before a profile file is parsed, since the parser
// lets many faults pass. Document type declarations are refused outright: profile files never
// have one, so the only entities are the five predefined ones and nothing can be expanded.
#include <string_view>

namespace ostiva {

// `document` is the whole file as UTF-8, optionally starting with a byte order mark. Throws
// std::runtime_error("<what is wrong> at offset <byte offset in document>") for the first fault.
void CheckWellFormedXml(std::string_view document);

} // namespace ostiva
