#include "text_encoding.h"

#include <array>

namespace corvel::imagetool {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code page 850, bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kCp850High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557,
    0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB,
    0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9,
    0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

bool isHighSurrogate(std::uint16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(std::uint16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Every upper-case letter code page 850 has lies in ASCII or in Latin-1's U+00C0..U+00DE.
char32_t lowerOemLetter(char32_t c) {
    const bool latin1Upper = c >= 0xC0 && c <= 0xDE && c != 0xD7;
    return ((c >= 'A' && c <= 'Z') || latin1Upper) ? c + 0x20 : c;
}

// Decodes one UTF-8 sequence at `at` and moves past it; a malformed byte stands for itself
// (offset into a private range) so that two different malformed names still differ.
char32_t nextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    const int trailing = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (lead < 0x80) {
        return lead;
    }
    if (trailing == 0 || at + trailing > text.size()) {
        return 0xF700 + lead;
    }
    char32_t codePoint = lead & (0x3F >> trailing);
    for (int k = 0; k < trailing; ++k) {
        const auto next = static_cast<unsigned char>(text[at]);
        if ((next & 0xC0) != 0x80) {
            return 0xF700 + lead;
        }
        codePoint = (codePoint << 6) | (next & 0x3F);
        ++at;
    }
    return codePoint;
}

} // namespace

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        codePoint = kReplacement;
    }
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

std::string utf16ToUtf8(std::span<const std::uint16_t> units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::uint16_t unit = units[i];
        if (isHighSurrogate(unit) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            const char32_t high = unit - 0xD800u;
            const char32_t low = units[i + 1] - 0xDC00u;
            appendUtf8(out, 0x10000 + (high << 10) + low);
            ++i;
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::string oemToUtf8(std::string_view oemBytes, bool lowerCase) {
    std::string out;
    for (const char c : oemBytes) {
        const auto byte = static_cast<unsigned char>(c);
        const char32_t codePoint = byte < 0x80 ? char32_t{byte} : char32_t{kCp850High[byte - 0x80]};
        appendUtf8(out, lowerCase ? lowerOemLetter(codePoint) : codePoint);
    }
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (lowerOemLetter(nextCodePoint(a, i)) != lowerOemLetter(nextCodePoint(b, j))) {
            return false;
        }
    }
    return i == a.size() && j == b.size();
}

} // namespace corvel::imagetool
