#pragma once

#include "fat_boot_sector.h"
#include "fat_directory_decoder.h"
#include "outcome.h"
#include "unique_fd.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvel::imagetool {

// What a path inside the image names: the root, a folder or a file.
struct FatNode final {
    bool isRoot = false;
    DirectoryEntry entry;

    bool isDirectory() const { return isRoot || entry.isDirectory; }
};

// Read-only view of one FAT volume inside an image file. All writing is left to mtools;
// this exists because listing through our own reader gives exact names and sizes with
// no parsing of human-oriented output.
class FatVolume final {
public:
    static Outcome<FatVolume> open(const std::string& imagePath, std::uint64_t volumeOffset);

    // Nothing (not an error) when some component does not exist or is not a folder.
    Outcome<std::optional<FatNode>> find(const std::vector<std::string>& components);
    Outcome<std::vector<DirectoryEntry>> list(const FatNode& directory);

private:
    FatVolume(UniqueFd fd, std::uint64_t volumeOffset, FatGeometry geometry);

    bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) const;
    std::uint64_t fatEntryOffset(std::uint32_t cluster) const;
    bool loadFatWindow(std::uint64_t offset);
    std::optional<std::uint32_t> nextCluster(std::uint32_t cluster);
    std::uint32_t endOfChainMarker() const;
    Status readChain(std::uint32_t firstCluster, FatDirectoryDecoder& decoder);
    Status readFixedRoot(FatDirectoryDecoder& decoder);

    UniqueFd m_fd;
    std::uint64_t m_volumeOffset;
    FatGeometry m_geometry;
    std::vector<std::uint8_t> m_fatWindow;
    std::uint64_t m_fatWindowStart = 0;
};

} // namespace corvel::imagetool
