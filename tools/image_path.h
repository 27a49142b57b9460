#pragma once

#include "outcome.h"

#include <string>
#include <string_view>
#include <vector>

namespace corvel::imagetool {

// A path inside the image. Callers write "", "/", "x.bas" or "/GAMES/x.bas"; all mean a
// path from the root, so leading, doubled and trailing slashes carry no meaning.
class ImagePath final {
public:
    static Outcome<ImagePath> parse(std::string_view text);

    const std::vector<std::string>& components() const { return m_components; }
    bool isRoot() const { return m_components.empty(); }
    const std::string& name() const { return m_components.back(); }
    ImagePath parent() const;
    ImagePath child(const std::string& name) const;
    std::string display() const;

    // mtools treats names it looks up as wildcard patterns ("[1]" is a character class),
    // so every existing component goes out escaped.
    std::string mtoolsPattern() const;
    // Same, but the last component is the name of something about to be created, which
    // mtools takes literally and must therefore not be escaped.
    std::string mtoolsNewName() const;
    // Target argument that makes mcopy copy into this folder.
    std::string mtoolsFolderTarget() const;

private:
    std::vector<std::string> m_components;
};

} // namespace corvel::imagetool
