#include "copies/zip_directory.h"

#include <algorithm>

#include "common/utf16.h"
#include "copies/little_endian.h"

namespace tidewell {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kZip64EndSize = 56;
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::uint32_t kZip64Marker = 0xFFFFFFFF;

bool Fits(std::span<const std::uint8_t> file, std::uint64_t at, std::uint64_t count) {
    return at <= file.size() && count <= file.size() - at;
}

// A directory entry of a large file keeps its real sizes and offset in the ZIP64 extra field, in
// this order, each only where the plain field holds the marker.
void ApplyZip64Extra(std::span<const std::uint8_t> extra, ZipEntry& entry) {
    std::size_t at = 0;
    while (at + 4 <= extra.size()) {
        const std::uint16_t id = ReadU16(extra, at);
        const std::size_t length = ReadU16(extra, at + 2);
        const auto field = extra.subspan(at + 4, std::min(length, extra.size() - at - 4));
        at += 4 + length;
        if (id != 0x0001) continue;
        std::size_t read = 0;
        for (std::uint64_t* value : {&entry.size, &entry.packedSize, &entry.localHeader}) {
            if (*value != kZip64Marker) continue;
            if (read + 8 > field.size()) return;
            *value = ReadU64(field, read);
            read += 8;
        }
    }
}

std::optional<std::size_t> FindEnd(std::span<const std::uint8_t> file) {
    if (file.size() < kEndSize) return std::nullopt;
    // The record ends the file but for a comment of at most 65535 bytes.
    const std::size_t lowest =
        file.size() > kEndSize + 0xFFFF ? file.size() - kEndSize - 0xFFFF : 0;
    // The signature's first byte is looked at before the whole of it: most of a file that is not
    // a ZIP (and each input of the fuzzer) is scanned here to its last 64 KB.
    constexpr std::uint8_t kEndFirstByte = kEndSignature & 0xFF;
    for (std::size_t at = file.size() - kEndSize + 1; at-- > lowest;) {
        if (file[at] == kEndFirstByte && ReadU32(file, at) == kEndSignature) return at;
    }
    return std::nullopt;
}

struct Directory {
    std::uint64_t start = 0;
    std::uint64_t size = 0;
    std::uint64_t entries = 0;
    bool zip64 = false;
    std::uint64_t followedBy = 0;  // where the end records start: the directory lies before
};

// Where the directory lies and how many entries it has. A file past 4 GB, a directory of more than
// 65,535 entries, or a writer that always writes them, keeps the real figures in a ZIP64 end record
// that a locator just before the end record points to; every offset of it is the file's own
// word, so each is checked against the bytes before it is followed.
std::optional<Directory> FindDirectory(std::span<const std::uint8_t> file, std::size_t end) {
    Directory directory{ReadU32(file, end + 16), ReadU32(file, end + 12), ReadU16(file, end + 10),
                        false, end};
    const bool locator = end >= kZip64LocatorSize &&
                         ReadU32(file, end - kZip64LocatorSize) == kZip64LocatorSignature;
    if (!locator) {
        if (directory.start == kZip64Marker || directory.size == kZip64Marker) return std::nullopt;
        return directory;
    }
    const std::uint64_t locatorAt = end - kZip64LocatorSize;
    const std::uint64_t record = ReadU64(file, locatorAt + 8);
    if (record > locatorAt || locatorAt - record < kZip64EndSize ||
        ReadU32(file, record) != kZip64EndSignature) {
        return std::nullopt;
    }
    // The record's own length counts what follows its first 12 bytes.
    const std::uint64_t length = ReadU64(file, record + 4);
    if (length < kZip64EndSize - 12 || length > locatorAt - record - 12) return std::nullopt;
    return Directory{ReadU64(file, record + 48), ReadU64(file, record + 40),
                     ReadU64(file, record + 32), true, record};
}

}  // namespace

std::optional<std::vector<ZipEntry>> ReadZipDirectory(std::span<const std::uint8_t> file) {
    const std::optional<std::size_t> end = FindEnd(file);
    if (!end) return std::nullopt;
    const std::optional<Directory> directory = FindDirectory(file, *end);
    if (!directory || directory->start > directory->followedBy ||
        directory->size > directory->followedBy - directory->start) {
        return std::nullopt;
    }
    std::vector<ZipEntry> entries;
    // Walked by bytes rather than by the entry count, which the end record of a large directory
    // holds only modulo 65,536 (or as 0xFFFF) when no ZIP64 record gives it whole.
    std::uint64_t at = directory->start;
    const std::uint64_t stop = directory->start + directory->size;
    while (at < stop) {
        if (!Fits(file, at, kCentralSize) || at + kCentralSize > stop ||
            ReadU32(file, at) != kCentralSignature) {
            return std::nullopt;
        }
        const std::size_t nameLength = ReadU16(file, at + 28);
        const std::size_t extraLength = ReadU16(file, at + 30);
        const std::size_t commentLength = ReadU16(file, at + 32);
        const std::uint64_t next = at + kCentralSize + nameLength + extraLength + commentLength;
        if (next > stop) return std::nullopt;
        ZipEntry entry;
        entry.flags = ReadU16(file, at + 8);
        entry.method = ReadU16(file, at + 10);
        entry.crc = ReadU32(file, at + 16);
        entry.packedSize = ReadU32(file, at + 20);
        entry.size = ReadU32(file, at + 24);
        entry.localHeader = ReadU32(file, at + 42);
        const auto name = file.subspan(at + kCentralSize, nameLength);
        entry.name.assign(name.begin(), name.end());
        ApplyZip64Extra(file.subspan(at + kCentralSize + nameLength, extraLength), entry);
        entries.push_back(std::move(entry));
        at = next;
    }
    const bool counted = directory->zip64 ? entries.size() == directory->entries
                                          : directory->entries == 0xFFFF ||
                                                (entries.size() & 0xFFFF) == directory->entries;
    if (!counted) return std::nullopt;
    return entries;
}

std::optional<LocalZipEntry> ReadLocalZipEntry(std::span<const std::uint8_t> file,
                                               std::uint64_t offset) {
    if (!Fits(file, offset, kLocalSize) || ReadU32(file, offset) != kLocalSignature)
        return std::nullopt;
    const std::size_t nameLength = ReadU16(file, offset + 26);
    const std::size_t extraLength = ReadU16(file, offset + 28);
    LocalZipEntry local;
    local.dataStart = offset + kLocalSize + nameLength + extraLength;
    if (!Fits(file, offset + kLocalSize, nameLength)) return std::nullopt;
    ZipEntry& entry = local.entry;
    entry.flags = ReadU16(file, offset + 6);
    entry.method = ReadU16(file, offset + 8);
    entry.crc = ReadU32(file, offset + 14);
    entry.packedSize = ReadU32(file, offset + 18);
    entry.size = ReadU32(file, offset + 22);
    entry.localHeader = offset;
    const auto name = file.subspan(offset + kLocalSize, nameLength);
    entry.name.assign(name.begin(), name.end());
    if (Fits(file, offset + kLocalSize + nameLength, extraLength)) {
        ApplyZip64Extra(file.subspan(offset + kLocalSize + nameLength, extraLength), entry);
    }
    local.sizesFollowData = (entry.flags & 0x0008) != 0;
    return local;
}

std::optional<std::uint64_t> ZipEntryDataStart(std::span<const std::uint8_t> file,
                                               const ZipEntry& entry) {
    const std::optional<LocalZipEntry> local = ReadLocalZipEntry(file, entry.localHeader);
    if (!local || local->entry.name != entry.name) return std::nullopt;
    return local->dataStart;
}

std::string ZipLeafName(const std::string& name) {
    const std::size_t slash = name.find_last_of('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

std::wstring ZipLeafText(const std::string& name) {
    const std::string leaf = ZipLeafName(name);
    return DecodeUtf8(std::span(reinterpret_cast<const std::uint8_t*>(leaf.data()), leaf.size()));
}

}  // namespace tidewell
