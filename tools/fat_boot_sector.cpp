#include "fat_boot_sector.h"

#include "byte_order.h"

namespace corvel::imagetool {

namespace {

struct RawBpb final {
    std::uint32_t bytesPerSector = 0;
    std::uint32_t sectorsPerCluster = 0;
    std::uint32_t reservedSectors = 0;
    std::uint32_t fatCount = 0;
    std::uint32_t rootEntries = 0;
    std::uint32_t totalSectors = 0;
    std::uint32_t sectorsPerFat = 0;
    std::uint32_t fat16SizeField = 0;
    std::uint32_t rootCluster = 0;
};

bool isPowerOfTwo(std::uint32_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

RawBpb readBpb(std::span<const std::uint8_t> s) {
    RawBpb bpb;
    bpb.bytesPerSector = readLe16(s, 0x0B);
    bpb.sectorsPerCluster = s[0x0D];
    bpb.reservedSectors = readLe16(s, 0x0E);
    bpb.fatCount = s[0x10];
    bpb.rootEntries = readLe16(s, 0x11);
    bpb.totalSectors = readLe16(s, 0x13) != 0 ? readLe16(s, 0x13) : readLe32(s, 0x20);
    bpb.fat16SizeField = readLe16(s, 0x16);
    bpb.sectorsPerFat = bpb.fat16SizeField != 0 ? bpb.fat16SizeField : readLe32(s, 0x24);
    bpb.rootCluster = readLe32(s, 0x2C);
    return bpb;
}

bool looksSane(std::span<const std::uint8_t> s, const RawBpb& bpb) {
    const bool jumpOk = s[0] == 0xEB || s[0] == 0xE9;
    const bool sectorOk =
        bpb.bytesPerSector >= 512 && bpb.bytesPerSector <= 4096 && isPowerOfTwo(bpb.bytesPerSector);
    return jumpOk && sectorOk && isPowerOfTwo(bpb.sectorsPerCluster) &&
           bpb.sectorsPerCluster <= 128 && bpb.reservedSectors >= 1 && bpb.fatCount >= 1 &&
           bpb.totalSectors != 0 && bpb.sectorsPerFat != 0;
}

FatType typeForClusterCount(std::uint32_t clusters) {
    if (clusters < 4085) {
        return FatType::Fat12;
    }
    return clusters < 65525 ? FatType::Fat16 : FatType::Fat32;
}

} // namespace

std::optional<FatGeometry> parseBootSector(std::span<const std::uint8_t> sector) {
    if (sector.size() < kSectorSize) {
        return std::nullopt;
    }
    const RawBpb bpb = readBpb(sector);
    if (!looksSane(sector, bpb)) {
        return std::nullopt;
    }
    const std::uint64_t rootSectors =
        (std::uint64_t{bpb.rootEntries} * 32 + bpb.bytesPerSector - 1) / bpb.bytesPerSector;
    const std::uint64_t metaSectors = std::uint64_t{bpb.reservedSectors} +
                                      std::uint64_t{bpb.fatCount} * bpb.sectorsPerFat + rootSectors;
    if (metaSectors >= bpb.totalSectors) {
        return std::nullopt;
    }
    FatGeometry geometry;
    geometry.clusterCount =
        static_cast<std::uint32_t>((bpb.totalSectors - metaSectors) / bpb.sectorsPerCluster);
    // The FAT32 layout (no 16-bit FAT size, no fixed root) decides, as in Linux and mtools:
    // mkfs.fat makes undersized FAT32 volumes whose cluster count alone would say FAT16.
    geometry.type =
        bpb.fat16SizeField == 0 ? FatType::Fat32 : typeForClusterCount(geometry.clusterCount);
    geometry.bytesPerCluster = bpb.bytesPerSector * bpb.sectorsPerCluster;
    geometry.fatOffset = std::uint64_t{bpb.reservedSectors} * bpb.bytesPerSector;
    geometry.fixedRootOffset =
        geometry.fatOffset + std::uint64_t{bpb.fatCount} * bpb.sectorsPerFat * bpb.bytesPerSector;
    geometry.fixedRootEntries = bpb.rootEntries;
    geometry.dataOffset = metaSectors * bpb.bytesPerSector;
    if (geometry.type == FatType::Fat32) {
        if (bpb.rootCluster < 2 || bpb.rootCluster >= geometry.clusterCount + 2) {
            return std::nullopt;
        }
        geometry.rootCluster = bpb.rootCluster;
    } else if (bpb.rootEntries == 0) {
        return std::nullopt;
    }
    return geometry;
}

} // namespace corvel::imagetool
