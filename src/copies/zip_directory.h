#pragma once
// The table of contents of a ZIP file (an Office Open XML presentation is one), read from the
// file's bytes: where each entry's data lies, how it is packed, and the size and CRC-32 it must
// unpack to. Only what a check of a presentation needs; nothing here unpacks.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tidewell {

struct ZipEntry {
    std::string name;  // as stored: UTF-8 for what Office writes
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint64_t packedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t localHeader = 0;
};

// The entries of the central directory, or nothing when the file has no whole directory at its
// end (a file cut short loses it first).
std::optional<std::vector<ZipEntry>> ReadZipDirectory(std::span<const std::uint8_t> file);

// Where an entry's packed bytes start, from its local header; nothing when the header is not
// there or does not name the entry.
std::optional<std::uint64_t> ZipEntryDataStart(std::span<const std::uint8_t> file,
                                               const ZipEntry& entry);

// The entries whose local headers follow one another from the file's start, for a file without
// its directory. Sizes are those the local headers give (zero when they follow the data, as a
// streaming writer stores them); `packedSize` is then unknown.
struct LocalZipEntry {
    ZipEntry entry;
    std::uint64_t dataStart = 0;
    bool sizesFollowData = false;
};
std::optional<LocalZipEntry> ReadLocalZipEntry(std::span<const std::uint8_t> file,
                                               std::uint64_t offset);

// The last part of an entry's name ("ppt/slides/slide3.xml" gives "slide3.xml").
std::string ZipLeafName(const std::string& name);
// The same as text, for a finding that names the entry.
std::wstring ZipLeafText(const std::string& name);

}  // namespace tidewell
