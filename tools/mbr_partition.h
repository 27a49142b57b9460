#pragma once

#include "fat_boot_sector.h"

#include <array>
#include <cstdint>

namespace corvel::imagetool {

struct PartitionSpan final {
    std::uint32_t firstSector = 0;
    std::uint32_t sectorCount = 0;
};

// 0x06/0x0B while the partition fits the old cylinder/head/sector limit, so old firmware
// that knows only those still finds it; the LBA types 0x0E/0x0C beyond.
std::uint8_t partitionTypeFor(FatType type, const PartitionSpan& span);

// A master boot record with no boot code and a single partition in the first slot.
std::array<std::uint8_t, kSectorSize> buildMbr(const PartitionSpan& span, std::uint8_t type,
                                               std::uint32_t diskSignature);

} // namespace corvel::imagetool
