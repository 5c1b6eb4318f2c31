#pragma once
// Access to a profile file's XML document: elements found by name anywhere (letter case of
// a-z ignored), attributes and text read and written, and the document stored back with
// everything not written kept as it was loaded (declaration, comments, whitespace, attribute
// order, encoding). Nothing is ever created in a document.
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pugi {
class xml_document;
class xml_node;
} // namespace pugi

namespace ostiva {

inline const std::string kNotFound = "not found";

class ProfileDocument {
  public:
    ProfileDocument();
    ~ProfileDocument();
    ProfileDocument(const ProfileDocument&) = delete;
    ProfileDocument& operator=(const ProfileDocument&) = delete;

    // Loads the file, after rolling back a save of it that was cut off while rewriting it in
    // place; throws std::runtime_error with the parser's message on failure.
    void Load(const std::string& path);
    bool IsLoaded() const;
    // Stores the whole document, never leaving a half-written file; throws std::runtime_error
    // with the writer's message.
    void Save(const std::string& path) const;
    // True when the file at `path` no longer holds the bytes this document was loaded from or
    // last saved as: someone else wrote it meanwhile. A file that cannot be read counts as
    // unchanged (saving it reports its own error).
    bool ChangedOnDisk(const std::string& path) const;

    // Depth-first search from the document element; the last result is cached (CurrentNode).
    pugi::xml_node FindElement(const std::string& name);
    // "not found" when the element is missing, has no child or its first child is not text.
    std::string GetElementText(const std::string& element);
    // The element's text as it stands in the file, line ends not normalised, when it holds no
    // reference: a view into the document, valid until the next Load or SetElementText, that
    // spares long sample lists a copy. nullopt where GetElementText must decode (or finds none).
    std::optional<std::string_view> ElementMarkup(const std::string& element);
    void SetElementText(const std::string& element, const std::string& text);
    // "not found" when the element or attribute is missing; "" for an empty value.
    std::string GetAttribute(const std::string& element, const std::string& attribute);
    void SetAttribute(const std::string& element, const std::string& attribute,
                      const std::string& value);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace ostiva
