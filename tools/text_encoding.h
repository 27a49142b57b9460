#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace corvel::imagetool {

// Appends one Unicode code point as UTF-8; anything outside Unicode becomes U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);

// VFAT long names are UTF-16; unpaired surrogates come out as U+FFFD rather than being dropped.
std::string utf16ToUtf8(std::span<const std::uint16_t> units);

// Short (8.3) names are stored in the DOS code page; mtools defaults to 850, so we do too.
// lowerCase applies the case flag of an 8.3 name, which covers every letter, not only ASCII.
std::string oemToUtf8(std::string_view oemBytes, bool lowerCase = false);

// FAT compares names without regard to case. Folding ASCII and Latin-1 letters covers every
// letter an 8.3 name can hold in code page 850.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace corvel::imagetool
