#include "fat_directory_decoder.h"

#include "byte_order.h"
#include "text_encoding.h"

#include <algorithm>
#include <array>

namespace corvel::imagetool {

namespace {

constexpr std::size_t kRecordSize = 32;
constexpr std::uint8_t kAttrVolumeLabel = 0x08;
constexpr std::uint8_t kAttrDirectory = 0x10;
constexpr std::uint8_t kAttrLongName = 0x0F;
constexpr std::uint8_t kDeletedMarker = 0xE5;
constexpr std::uint8_t kLastLongPart = 0x40;
constexpr std::size_t kUnitsPerLongPart = 13;

// Byte offsets of the 13 UTF-16 units scattered over one long-name record.
constexpr std::array<std::size_t, kUnitsPerLongPart> kLongUnitOffsets = {1,  3,  5,  7,  9,  14, 16,
                                                                         18, 20, 22, 24, 28, 30};

std::uint8_t shortNameChecksum(std::span<const std::uint8_t> record) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < 11; ++i) {
        sum = static_cast<std::uint8_t>(((sum & 1) << 7) + (sum >> 1) + record[i]);
    }
    return sum;
}

std::string trimmedField(std::span<const std::uint8_t> record, std::size_t offset,
                         std::size_t length) {
    std::string field(reinterpret_cast<const char*>(record.data() + offset), length);
    field.erase(field.find_last_not_of(' ') + 1);
    return field;
}

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

std::string joinedShortName(const std::string& base, const std::string& extension) {
    return extension.empty() ? base : base + '.' + extension;
}

// Windows NT and mtools keep the case of all-lower-case 8.3 names in two flag bits.
struct ShortNames final {
    std::string shown;
    std::string mtoolsCopy;
};

ShortNames decodeShortName(std::span<const std::uint8_t> record) {
    const bool lowerBase = (record[12] & 0x08) != 0;
    const bool lowerExtension = (record[12] & 0x10) != 0;
    std::string base = trimmedField(record, 0, 8);
    if (!base.empty() && static_cast<std::uint8_t>(base[0]) == 0x05) {
        base[0] = static_cast<char>(kDeletedMarker); // 0xE5 is a real first letter in Kanji
    }
    const std::string extension = trimmedField(record, 8, 3);
    ShortNames names;
    names.shown = joinedShortName(oemToUtf8(base, lowerBase), oemToUtf8(extension, lowerExtension));
    names.mtoolsCopy = oemToUtf8(joinedShortName(
        lowerBase ? lowerAscii(base) : base, lowerExtension ? lowerAscii(extension) : extension));
    return names;
}

} // namespace

bool FatDirectoryDecoder::feed(std::span<const std::uint8_t> records) {
    for (std::size_t offset = 0; offset + kRecordSize <= records.size(); offset += kRecordSize) {
        const auto record = records.subspan(offset, kRecordSize);
        if (record[0] == 0x00) {
            return false;
        }
        if (record[0] == kDeletedMarker) {
            resetLongName();
        } else if ((record[11] & 0x3F) == kAttrLongName) {
            feedLongNamePart(record);
        } else if ((record[11] & kAttrVolumeLabel) != 0) {
            resetLongName();
        } else {
            feedShortEntry(record);
        }
    }
    return true;
}

void FatDirectoryDecoder::feedLongNamePart(std::span<const std::uint8_t> record) {
    const int ordinal = record[0] & 0x1F;
    if ((record[0] & kLastLongPart) != 0) {
        m_longUnits.assign(static_cast<std::size_t>(ordinal) * kUnitsPerLongPart, 0xFFFF);
        m_longChecksum = record[13];
    } else if (ordinal != m_expectedOrdinal || record[13] != m_longChecksum) {
        resetLongName();
        return;
    }
    if (ordinal == 0) {
        resetLongName();
        return;
    }
    const std::size_t base = static_cast<std::size_t>(ordinal - 1) * kUnitsPerLongPart;
    for (std::size_t i = 0; i < kUnitsPerLongPart; ++i) {
        m_longUnits[base + i] = readLe16(record, kLongUnitOffsets[i]);
    }
    m_expectedOrdinal = ordinal - 1;
}

void FatDirectoryDecoder::feedShortEntry(std::span<const std::uint8_t> record) {
    const bool longNameComplete = !m_longUnits.empty() && m_expectedOrdinal == 0 &&
                                  m_longChecksum == shortNameChecksum(record);
    DirectoryEntry entry;
    const ShortNames shortNames = decodeShortName(record);
    entry.shortName = shortNames.shown;
    if (longNameComplete) {
        const auto end = std::find(m_longUnits.begin(), m_longUnits.end(), std::uint16_t{0});
        const auto padding = std::find(m_longUnits.begin(), end, std::uint16_t{0xFFFF});
        entry.name = utf16ToUtf8(std::span(m_longUnits.data(), padding - m_longUnits.begin()));
    }
    resetLongName();
    entry.mtoolsCopyName = entry.name.empty() ? shortNames.mtoolsCopy : entry.name;
    if (entry.name.empty()) {
        entry.name = entry.shortName;
    }
    if (entry.name == "." || entry.name == "..") {
        return;
    }
    entry.isDirectory = (record[11] & kAttrDirectory) != 0;
    entry.size = entry.isDirectory ? 0 : readLe32(record, 28);
    const std::uint32_t high = m_highClusterWordValid ? readLe16(record, 20) : 0;
    entry.firstCluster = (high << 16) | readLe16(record, 26);
    m_entries.push_back(std::move(entry));
}

void FatDirectoryDecoder::resetLongName() {
    m_longUnits.clear();
    m_expectedOrdinal = 0;
    m_longChecksum = 0;
}

} // namespace corvel::imagetool
