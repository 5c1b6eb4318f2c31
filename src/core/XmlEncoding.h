#pragma once
// The character encoding of an XML file's bytes, found as an XML processor finds it (a byte
// order mark or the first bytes for UTF-16 and UTF-32, otherwise the declaration's label), and
// the conversions between the file's bytes and UTF-8 text in both directions.
#include <string>
#include <string_view>

#include "core/Windows1252.h"

namespace ostiva {

enum class XmlFileEncoding {
    Utf8,        // no declared encoding, or UTF-8
    Windows1252, // declared ISO-8859-1, Windows-1252, US-ASCII or one of their aliases
    Wide,        // UTF-16 or UTF-32, either byte order
};

struct XmlFileCharset {
    XmlFileEncoding encoding = XmlFileEncoding::Utf8;
    // The characters that may be written as themselves; nullptr: all of them.
    CharFilter direct = nullptr;
    // Wide files only.
    int unitBytes = 0;
    bool bigEndian = false;
    bool byteOrderMark = false;
};

// Throws std::runtime_error("Unsupported encoding <label>") for any other declared encoding.
XmlFileCharset DetectXmlEncoding(std::string_view bytes);

// The file's text as UTF-8. Nothing is checked or lost: a UTF-8 file is returned as it is (its
// byte order mark included), every Windows-1252 byte has a character, and a wide file loses
// only its byte order mark. Throws std::runtime_error for a wide sequence that is no character.
std::string DecodeXmlFile(std::string_view bytes, const XmlFileCharset& charset);

// The inverse of DecodeXmlFile. Throws std::runtime_error for a character the encoding lacks.
std::string EncodeXmlFile(std::string_view utf8, const XmlFileCharset& charset);

} // namespace ostiva
