#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace corvel::imagetool {

// "65536", "64M", "2G", "512k", "1GiB", "4MB": suffixes are powers of 1024, case does not
// matter. Nothing for anything else, including zero and values that overflow.
std::optional<std::uint64_t> parseByteSize(std::string_view text);

} // namespace corvel::imagetool
