#include "copies/zip_directory.h"

#include <algorithm>

#include "copies/little_endian.h"

namespace tidewell {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22;
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
    for (std::size_t at = file.size() - kEndSize + 1; at-- > lowest;) {
        if (ReadU32(file, at) == kEndSignature) return at;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<ZipEntry>> ReadZipDirectory(std::span<const std::uint8_t> file) {
    const std::optional<std::size_t> end = FindEnd(file);
    if (!end) return std::nullopt;
    const std::uint64_t directorySize = ReadU32(file, *end + 12);
    const std::uint64_t directoryStart = ReadU32(file, *end + 16);
    if (directoryStart > *end || directorySize > *end - directoryStart) return std::nullopt;
    std::vector<ZipEntry> entries;
    // Walked by bytes rather than by the record's entry count, which a large directory overflows.
    std::uint64_t at = directoryStart;
    const std::uint64_t stop = directoryStart + directorySize;
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

}  // namespace tidewell
