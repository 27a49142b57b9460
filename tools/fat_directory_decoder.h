#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace corvel::imagetool {

struct DirectoryEntry final {
    std::string name; // the long name when one is validly attached, else the 8.3 name
    std::string shortName;
    // mtools, copying a folder out, lower-cases only the ASCII letters of a flagged 8.3
    // name ("CAFÉ" becomes "cafÉ"); knowing its choice lets us put the real name back.
    std::string mtoolsCopyName;
    bool isDirectory = false;
    std::uint32_t size = 0;
    std::uint32_t firstCluster = 0;
};

// Decodes raw 32-byte directory records in on-disk order. "." and "..", deleted entries and
// the volume label are left out. Reading stops at the first never-used record.
class FatDirectoryDecoder final {
public:
    explicit FatDirectoryDecoder(bool highClusterWordValid)
        : m_highClusterWordValid(highClusterWordValid) {}

    // Returns false once the end-of-directory record has been seen.
    bool feed(std::span<const std::uint8_t> records);

    std::vector<DirectoryEntry>& entries() { return m_entries; }

private:
    void feedLongNamePart(std::span<const std::uint8_t> record);
    void feedShortEntry(std::span<const std::uint8_t> record);
    void resetLongName();

    bool m_highClusterWordValid;
    std::vector<DirectoryEntry> m_entries;
    std::vector<std::uint16_t> m_longUnits;
    int m_expectedOrdinal = 0; // next long-name part we expect; 0 = none pending
    std::uint8_t m_longChecksum = 0;
};

} // namespace corvel::imagetool
