#include "fat_volume.h"

#include "byte_order.h"
#include "text_encoding.h"

#include <array>
#include <fcntl.h>
#include <unistd.h>

namespace corvel::imagetool {

namespace {

constexpr std::size_t kFatWindowBytes = 64 * 1024;
constexpr std::uint32_t kFirstDataCluster = 2;

const DirectoryEntry* findEntry(const std::vector<DirectoryEntry>& entries,
                                const std::string& name) {
    for (const auto& entry : entries) {
        if (entry.name == name) {
            return &entry;
        }
    }
    // Same rule as mtools: either name of an entry matches, whatever the letter case.
    for (const auto& entry : entries) {
        if (equalsIgnoringCase(entry.name, name) || equalsIgnoringCase(entry.shortName, name)) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

FatVolume::FatVolume(UniqueFd fd, std::uint64_t volumeOffset, FatGeometry geometry)
    : m_fd(std::move(fd)), m_volumeOffset(volumeOffset), m_geometry(geometry) {}

Outcome<FatVolume> FatVolume::open(const std::string& imagePath, std::uint64_t volumeOffset) {
    UniqueFd fd(::open(imagePath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        return Outcome<FatVolume>::failure("cannot open image " + imagePath);
    }
    std::array<std::uint8_t, kSectorSize> sector{};
    const auto got =
        ::pread(fd.get(), sector.data(), sector.size(), static_cast<off_t>(volumeOffset));
    const auto geometry = got == static_cast<ssize_t>(sector.size()) ? parseBootSector(sector)
                                                                     : std::optional<FatGeometry>{};
    if (!geometry) {
        return Outcome<FatVolume>::failure(imagePath + " is not a FAT image");
    }
    return Outcome<FatVolume>::success(FatVolume(std::move(fd), volumeOffset, *geometry));
}

Outcome<std::optional<FatNode>> FatVolume::find(const std::vector<std::string>& components) {
    using Result = Outcome<std::optional<FatNode>>;
    FatNode node;
    node.isRoot = true;
    for (const auto& component : components) {
        if (!node.isDirectory()) {
            return Result::success(std::nullopt);
        }
        auto entries = list(node);
        if (!entries.ok()) {
            return Result::failure(entries.error());
        }
        const DirectoryEntry* match = findEntry(entries.value(), component);
        if (match == nullptr) {
            return Result::success(std::nullopt);
        }
        node.isRoot = false;
        node.entry = *match;
    }
    return Result::success(node);
}

Outcome<std::vector<DirectoryEntry>> FatVolume::list(const FatNode& directory) {
    using Result = Outcome<std::vector<DirectoryEntry>>;
    FatDirectoryDecoder decoder(m_geometry.type == FatType::Fat32);
    const bool fixedRoot = directory.isRoot && m_geometry.type != FatType::Fat32;
    const std::uint32_t firstCluster =
        directory.isRoot ? m_geometry.rootCluster : directory.entry.firstCluster;
    const Status status = fixedRoot ? readFixedRoot(decoder) : readChain(firstCluster, decoder);
    if (!status.ok()) {
        return Result::failure(status.error());
    }
    return Result::success(std::move(decoder.entries()));
}

bool FatVolume::readAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    const auto got =
        ::pread(m_fd.get(), out.data(), out.size(), static_cast<off_t>(m_volumeOffset + offset));
    return got == static_cast<ssize_t>(out.size());
}

Status FatVolume::readFixedRoot(FatDirectoryDecoder& decoder) {
    std::vector<std::uint8_t> bytes(std::size_t{m_geometry.fixedRootEntries} * 32);
    if (!readAt(m_geometry.fixedRootOffset, bytes)) {
        return Status::failure("cannot read the root folder");
    }
    decoder.feed(bytes);
    return succeeded();
}

Status FatVolume::readChain(std::uint32_t firstCluster, FatDirectoryDecoder& decoder) {
    std::vector<std::uint8_t> cluster(m_geometry.bytesPerCluster);
    std::uint32_t current = firstCluster;
    // A chain longer than the volume has clusters can only be a loop in a damaged FAT.
    for (std::uint32_t steps = 0; steps <= m_geometry.clusterCount; ++steps) {
        if (current < kFirstDataCluster || current >= m_geometry.clusterCount + 2) {
            return Status::failure("damaged folder chain at cluster " + std::to_string(current));
        }
        const std::uint64_t offset =
            m_geometry.dataOffset + std::uint64_t{current - 2} * m_geometry.bytesPerCluster;
        if (!readAt(offset, cluster)) {
            return Status::failure("cannot read cluster " + std::to_string(current));
        }
        if (!decoder.feed(cluster)) {
            return succeeded();
        }
        const auto next = nextCluster(current);
        if (!next) {
            return Status::failure("cannot read the FAT");
        }
        if (*next >= endOfChainMarker()) {
            return succeeded();
        }
        current = *next;
    }
    return Status::failure("folder chain loops");
}

std::uint32_t FatVolume::endOfChainMarker() const {
    switch (m_geometry.type) {
    case FatType::Fat12:
        return 0xFF8;
    case FatType::Fat16:
        return 0xFFF8;
    case FatType::Fat32:
        break;
    }
    return 0x0FFFFFF8;
}

std::uint64_t FatVolume::fatEntryOffset(std::uint32_t cluster) const {
    switch (m_geometry.type) {
    case FatType::Fat12:
        return m_geometry.fatOffset + cluster + cluster / 2;
    case FatType::Fat16:
        return m_geometry.fatOffset + std::uint64_t{cluster} * 2;
    case FatType::Fat32:
        break;
    }
    return m_geometry.fatOffset + std::uint64_t{cluster} * 4;
}

bool FatVolume::loadFatWindow(std::uint64_t offset) {
    if (!m_fatWindow.empty() && offset >= m_fatWindowStart &&
        offset + 4 <= m_fatWindowStart + m_fatWindow.size()) {
        return true;
    }
    // Folder chains are usually ascending runs, so one window serves many lookups.
    m_fatWindow.assign(kFatWindowBytes, 0);
    m_fatWindowStart = offset;
    const auto got = ::pread(m_fd.get(), m_fatWindow.data(), m_fatWindow.size(),
                             static_cast<off_t>(m_volumeOffset + offset));
    m_fatWindow.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return m_fatWindow.size() >= 4;
}

std::optional<std::uint32_t> FatVolume::nextCluster(std::uint32_t cluster) {
    const std::uint64_t offset = fatEntryOffset(cluster);
    if (!loadFatWindow(offset)) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t> window(m_fatWindow);
    const auto at = static_cast<std::size_t>(offset - m_fatWindowStart);
    switch (m_geometry.type) {
    case FatType::Fat12: {
        const std::uint16_t pair = readLe16(window, at);
        return (cluster & 1) != 0 ? pair >> 4 : pair & 0x0FFF;
    }
    case FatType::Fat16:
        return readLe16(window, at);
    case FatType::Fat32:
        break;
    }
    return readLe32(window, at) & 0x0FFFFFFF;
}

} // namespace corvel::imagetool
