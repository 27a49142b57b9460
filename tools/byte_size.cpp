#include "byte_size.h"

#include <array>
#include <cctype>
#include <limits>
#include <string>

namespace corvel::imagetool {

namespace {

std::optional<unsigned> shiftForSuffix(std::string_view suffix) {
    std::string lower;
    for (const char c : suffix) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (lower.empty() || lower == "b") {
        return 0;
    }
    constexpr std::array<char, 4> kUnits = {'k', 'm', 'g', 't'};
    for (unsigned i = 0; i < kUnits.size(); ++i) {
        const std::string unit(1, kUnits[i]);
        if (lower == unit || lower == unit + "b" || lower == unit + "ib") {
            return 10 * (i + 1);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::uint64_t> parseByteSize(std::string_view text) {
    std::size_t digits = 0;
    std::uint64_t value = 0;
    constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) {
        const auto digit = static_cast<std::uint64_t>(text[digits] - '0');
        if (value > (kMax - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
        ++digits;
    }
    const auto shift = shiftForSuffix(text.substr(digits));
    if (digits == 0 || !shift || value == 0 || value > (kMax >> *shift)) {
        return std::nullopt;
    }
    return value << *shift;
}

} // namespace corvel::imagetool
