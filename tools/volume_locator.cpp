#include "volume_locator.h"

#include "byte_order.h"
#include "fat_boot_sector.h"
#include "unique_fd.h"

#include <algorithm>
#include <array>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace corvel::imagetool {

namespace {

using Sector = std::array<std::uint8_t, kSectorSize>;

constexpr std::size_t kPartitionTableOffset = 0x1BE;
constexpr std::size_t kPartitionEntrySize = 16;
constexpr std::array<std::uint8_t, 6> kFatPartitionTypes = {0x01, 0x04, 0x06, 0x0B, 0x0C, 0x0E};

bool readSector(int fd, std::uint64_t offset, Sector& sector) {
    return ::pread(fd, sector.data(), sector.size(), static_cast<off_t>(offset)) ==
           static_cast<ssize_t>(sector.size());
}

bool hasBootSignature(const Sector& sector) {
    return sector[510] == 0x55 && sector[511] == 0xAA;
}

// LBA start of the first partition whose type byte is one of the FAT ones.
std::optional<std::uint32_t> firstFatPartitionStart(const Sector& mbr) {
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t entry = kPartitionTableOffset + i * kPartitionEntrySize;
        const std::uint8_t type = mbr[entry + 4];
        const std::uint32_t start = readLe32(mbr, entry + 8);
        const std::uint32_t length = readLe32(mbr, entry + 12);
        const bool isFat = std::find(kFatPartitionTypes.begin(), kFatPartitionTypes.end(), type) !=
                           kFatPartitionTypes.end();
        if (isFat && start != 0 && length != 0) {
            return start;
        }
    }
    return std::nullopt;
}

} // namespace

Outcome<VolumeLocation> locateVolume(const std::string& imagePath) {
    using Result = Outcome<VolumeLocation>;
    const UniqueFd fd(::open(imagePath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        return Result::failure("cannot open image " + imagePath);
    }
    const std::string notFat = imagePath + " is not a FAT image";
    Sector sector{};
    if (!readSector(fd.get(), 0, sector)) {
        return Result::failure(notFat);
    }
    // A bare volume's boot sector also ends in 55 AA, so it has to be ruled out first.
    if (parseBootSector(sector)) {
        return Result::success(VolumeLocation{0, false});
    }
    const auto start = hasBootSignature(sector) ? firstFatPartitionStart(sector) : std::nullopt;
    if (!start) {
        return Result::failure(notFat);
    }
    const std::uint64_t offset = std::uint64_t{*start} * kSectorSize;
    if (!readSector(fd.get(), offset, sector) || !parseBootSector(sector)) {
        return Result::failure(notFat);
    }
    return Result::success(VolumeLocation{offset, true});
}

} // namespace corvel::imagetool
