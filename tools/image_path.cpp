#include "image_path.h"

namespace corvel::imagetool {

namespace {

std::string escapeWildcards(const std::string& component) {
    std::string escaped;
    for (const char c : component) {
        if (c == '*' || c == '?' || c == '[' || c == ']' || c == '\\') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

constexpr std::string_view kDrive = "::";

} // namespace

Outcome<ImagePath> ImagePath::parse(std::string_view text) {
    ImagePath path;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t slash = std::min(text.find('/', start), text.size());
        const std::string_view component = text.substr(start, slash - start);
        if (component == "..") {
            return Outcome<ImagePath>::failure("\"..\" is not allowed in an image path");
        }
        if (!component.empty() && component != ".") {
            path.m_components.emplace_back(component);
        }
        start = slash + 1;
    }
    return Outcome<ImagePath>::success(std::move(path));
}

ImagePath ImagePath::parent() const {
    ImagePath result = *this;
    if (!result.m_components.empty()) {
        result.m_components.pop_back();
    }
    return result;
}

ImagePath ImagePath::child(const std::string& name) const {
    ImagePath result = *this;
    result.m_components.push_back(name);
    return result;
}

std::string ImagePath::display() const {
    std::string text;
    for (const auto& component : m_components) {
        text += '/' + component;
    }
    return text.empty() ? "/" : text;
}

std::string ImagePath::mtoolsPattern() const {
    std::string text(kDrive);
    for (const auto& component : m_components) {
        text += '/' + escapeWildcards(component);
    }
    return m_components.empty() ? text + '/' : text;
}

std::string ImagePath::mtoolsNewName() const {
    if (isRoot()) {
        return mtoolsPattern();
    }
    const std::string parentText = parent().mtoolsPattern();
    return parentText + (parentText.back() == '/' ? "" : "/") + name();
}

std::string ImagePath::mtoolsFolderTarget() const {
    const std::string text = mtoolsPattern();
    return text.back() == '/' ? text : text + '/';
}

} // namespace corvel::imagetool
