#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace corvel::imagetool {

enum class FatType { Fat12, Fat16, Fat32 };

// Where things live inside one FAT volume, in bytes from the volume's first byte.
struct FatGeometry final {
    FatType type = FatType::Fat16;
    std::uint32_t bytesPerCluster = 0;
    std::uint64_t fatOffset = 0;
    std::uint64_t fixedRootOffset = 0;
    std::uint32_t fixedRootEntries = 0;
    std::uint64_t dataOffset = 0;
    std::uint32_t clusterCount = 0;
    std::uint32_t rootCluster = 0;
};

inline constexpr std::size_t kSectorSize = 512;

// Returns nothing unless the sector is a plausible FAT boot sector. This doubles as the
// test for "bare volume or partition table", so it must reject an MBR.
std::optional<FatGeometry> parseBootSector(std::span<const std::uint8_t> sector);

} // namespace corvel::imagetool
