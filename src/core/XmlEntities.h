#pragma once
// Texts of a profile document kept exactly as they stand in the file (entity references
// included), turned into plain UTF-8 for reading and back into markup for writing.
#include <string>
#include <string_view>

#include "core/Windows1252.h"

namespace ostiva {

// Replaces the five predefined entities and numeric character references by their characters.
// Anything else that starts with "&" (an entity of a document type, a broken reference) stays
// as it is: nothing is ever fetched or expanded. With `normaliseLineEnds`, CR LF and a lone
// CR become LF, as an XML processor reports text content.
std::string DecodeXmlText(std::string_view raw, bool normaliseLineEnds);

enum class XmlContext { Text, Attribute };

// Markup for a UTF-8 value: "&", "<", ">" (and in attributes '"', tab, LF and CR) become
// references; control characters XML cannot carry are dropped; bytes that are not UTF-8 are
// taken as Windows-1252 characters; characters `direct` refuses (nullptr refuses none) become
// numeric references so that no character is lost in the file's encoding.
std::string EncodeXmlText(std::string_view value, XmlContext context, CharFilter direct);

} // namespace ostiva
