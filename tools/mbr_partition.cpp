#include "mbr_partition.h"

#include "byte_order.h"

#include <algorithm>

namespace corvel::imagetool {

namespace {

constexpr std::uint64_t kHeads = 255;
constexpr std::uint64_t kSectorsPerTrack = 63;
constexpr std::uint64_t kChsAddressableSectors = 1024 * kHeads * kSectorsPerTrack;

// The 3-byte CHS form of an LBA; past the limit the conventional "maximum" value is stored.
std::array<std::uint8_t, 3> chsFor(std::uint64_t lba) {
    if (lba >= kChsAddressableSectors) {
        return {0xFE, 0xFF, 0xFF};
    }
    const std::uint64_t cylinder = lba / (kHeads * kSectorsPerTrack);
    const std::uint64_t head = (lba / kSectorsPerTrack) % kHeads;
    const std::uint64_t sector = lba % kSectorsPerTrack + 1;
    return {static_cast<std::uint8_t>(head),
            static_cast<std::uint8_t>(sector | ((cylinder >> 2) & 0xC0)),
            static_cast<std::uint8_t>(cylinder & 0xFF)};
}

std::uint64_t lastSector(const PartitionSpan& span) {
    return std::uint64_t{span.firstSector} + span.sectorCount - 1;
}

} // namespace

std::uint8_t partitionTypeFor(FatType type, const PartitionSpan& span) {
    const bool chsReachable = lastSector(span) < kChsAddressableSectors;
    if (type == FatType::Fat32) {
        return chsReachable ? 0x0B : 0x0C;
    }
    return chsReachable ? 0x06 : 0x0E;
}

std::array<std::uint8_t, kSectorSize> buildMbr(const PartitionSpan& span, std::uint8_t type,
                                               std::uint32_t diskSignature) {
    std::array<std::uint8_t, kSectorSize> mbr{};
    writeLe32(mbr, 0x1B8, diskSignature);
    constexpr std::size_t entry = 0x1BE;
    mbr[entry] = 0x00; // not marked bootable: nothing here boots
    const auto first = chsFor(span.firstSector);
    const auto last = chsFor(lastSector(span));
    std::copy(first.begin(), first.end(), mbr.begin() + entry + 1);
    mbr[entry + 4] = type;
    std::copy(last.begin(), last.end(), mbr.begin() + entry + 5);
    writeLe32(mbr, entry + 8, span.firstSector);
    writeLe32(mbr, entry + 12, span.sectorCount);
    mbr[510] = 0x55;
    mbr[511] = 0xAA;
    return mbr;
}

} // namespace corvel::imagetool
