#include "copies/whole_ooxml.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "copies/zip_directory.h"
#include "copies/zip_layout.h"

namespace tidewell {
namespace {

enum class Unpacked { Whole, CutShort, Damaged, TooSlow };

struct Unpacking {
    Unpacked how = Unpacked::Damaged;
    std::uint64_t size = 0;      // bytes it unpacked to
    std::uint32_t crc = 0;       // their CRC-32
    std::uint64_t consumed = 0;  // packed bytes used
};

// What the check of one file may still spend: bytes unpacked and time.
struct Allowance {
    std::uint64_t unpack = 0;
    CheckDeadline deadline = kNoDeadline;

    bool Late() const {
        return deadline != kNoDeadline && std::chrono::steady_clock::now() > deadline;
    }
};

// Inflates without keeping the output: only its length and CRC-32 are wanted. `limit` bounds the
// work for an entry whose stated size is known, so that a forged entry cannot unpack for ever;
// what is unpacked is taken from the file's allowance as well.
Unpacking Inflate(std::span<const std::uint8_t> packed, std::uint64_t limit, Allowance& allowance) {
    Unpacking result;
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return result;
    std::array<std::uint8_t, 64 * 1024> buffer;
    std::uint64_t fed = 0;
    uLong crc = crc32(0, nullptr, 0);
    int status = Z_OK;
    while (status == Z_OK) {
        if (stream.avail_in == 0 && fed < packed.size()) {
            const std::uint64_t chunk =
                std::min<std::uint64_t>(packed.size() - fed, std::numeric_limits<uInt>::max());
            stream.next_in = const_cast<Bytef*>(packed.data() + fed);
            stream.avail_in = static_cast<uInt>(chunk);
            fed += chunk;
        }
        stream.next_out = buffer.data();
        stream.avail_out = static_cast<uInt>(buffer.size());
        status = inflate(&stream, Z_NO_FLUSH);
        const std::size_t produced = buffer.size() - stream.avail_out;
        crc = crc32(crc, buffer.data(), static_cast<uInt>(produced));
        result.size += produced;
        if (result.size > limit || produced > allowance.unpack) status = Z_DATA_ERROR;
        allowance.unpack -= std::min<std::uint64_t>(produced, allowance.unpack);
        if (allowance.Late()) {
            result.how = Unpacked::TooSlow;
            inflateEnd(&stream);
            return result;
        }
        if (status == Z_BUF_ERROR && stream.avail_in == 0 && fed == packed.size()) break;
    }
    result.consumed = fed - stream.avail_in;
    result.crc = static_cast<std::uint32_t>(crc);
    result.how = status == Z_STREAM_END                      ? Unpacked::Whole
                 : (status == Z_OK || status == Z_BUF_ERROR) ? Unpacked::CutShort
                                                             : Unpacked::Damaged;
    inflateEnd(&stream);
    return result;
}

std::wstring Named(const std::string& entryName, const wchar_t* what) {
    return ZipLeafText(entryName) + what;
}

// A stored entry's CRC-32, a piece at a time so that the deadline is looked at between pieces.
Unpacking Stored(std::span<const std::uint8_t> packed, const Allowance& allowance) {
    constexpr std::uint64_t kPiece = 1 << 20;
    Unpacking unpacked{Unpacked::Whole, packed.size(), 0, packed.size()};
    for (std::uint64_t at = 0; at < packed.size(); at += kPiece) {
        if (allowance.Late()) return {Unpacked::TooSlow};
        const uInt chunk = static_cast<uInt>(std::min<std::uint64_t>(packed.size() - at, kPiece));
        unpacked.crc = static_cast<std::uint32_t>(crc32(unpacked.crc, packed.data() + at, chunk));
    }
    return unpacked;
}

bool IsSlide(const std::string& name) {
    constexpr std::string_view prefix = "ppt/slides/slide";
    constexpr std::string_view suffix = ".xml";
    return name.size() > prefix.size() + suffix.size() && name.starts_with(prefix) &&
           name.ends_with(suffix) && name.find('/', prefix.size()) == std::string::npos;
}

std::optional<PresentationFinding> CheckEntry(std::span<const std::uint8_t> file,
                                              const ZipEntry& entry, Allowance& allowance) {
    if (entry.flags & 0x0001) return PresentationFinding{Soundness::NeedsPassword, {}};
    const std::optional<std::uint64_t> start = ZipEntryDataStart(file, entry);
    if (!start) return NotWhole(Named(entry.name, L" is damaged"));
    if (*start > file.size() || entry.packedSize > file.size() - *start) {
        return NotWhole(Named(entry.name, L" is cut short"));
    }
    const auto packed = file.subspan(*start, entry.packedSize);
    Unpacking unpacked;
    if (entry.method == 0) {
        unpacked = Stored(packed, allowance);
    } else if (entry.method == Z_DEFLATED) {
        unpacked = Inflate(packed, entry.size, allowance);
    } else {
        return NotWhole(Named(entry.name, L" is packed in a way PowerPoint does not read"));
    }
    if (unpacked.how == Unpacked::TooSlow) return CheckTookTooLong();
    if (unpacked.how == Unpacked::CutShort) return NotWhole(Named(entry.name, L" is cut short"));
    if (unpacked.how == Unpacked::Damaged || unpacked.size != entry.size ||
        unpacked.crc != entry.crc) {
        return NotWhole(Named(entry.name, L" is damaged"));
    }
    return std::nullopt;
}

// A file without its directory was cut short somewhere: the entry whose data runs past the end
// names where, as far as the local headers can be followed.
PresentationFinding WhereCutShort(std::span<const std::uint8_t> file, Allowance& allowance) {
    std::uint64_t at = 0;
    while (const std::optional<LocalZipEntry> local = ReadLocalZipEntry(file, at)) {
        const ZipEntry& entry = local->entry;
        if (local->dataStart > file.size()) break;
        const auto rest = file.subspan(local->dataStart);
        std::uint64_t used = entry.packedSize;
        if (local->sizesFollowData) {
            if (entry.method != Z_DEFLATED) break;
            const Unpacking unpacked =
                Inflate(rest, std::numeric_limits<std::uint64_t>::max(), allowance);
            if (unpacked.how == Unpacked::TooSlow) return CheckTookTooLong();
            if (unpacked.how == Unpacked::CutShort)
                return NotWhole(Named(entry.name, L" is cut short"));
            if (unpacked.how == Unpacked::Damaged)
                return NotWhole(Named(entry.name, L" is damaged"));
            used = unpacked.consumed;
            // The sizes that follow the data, with or without their optional signature.
            const bool signature = rest.size() >= used + 4 && rest[used] == 0x50 &&
                                   rest[used + 1] == 0x4b && rest[used + 2] == 0x07 &&
                                   rest[used + 3] == 0x08;
            used += signature ? 16 : 12;
        } else if (used > rest.size()) {
            return NotWhole(Named(entry.name, L" is cut short"));
        }
        at = local->dataStart + used;
    }
    return NotWhole(L"it is cut short");
}

}  // namespace

PresentationFinding CheckOoxmlPresentation(std::span<const std::uint8_t> file,
                                           CheckDeadline deadline) {
    Allowance allowance{UnpackBudget(file.size()), deadline};
    const std::optional<std::vector<ZipEntry>> entries = ReadZipDirectory(file);
    if (!entries) return WhereCutShort(file, allowance);
    if (std::optional<PresentationFinding> fault = ZipLayoutFault(file, *entries)) return *fault;
    const auto has = [&](auto&& test) {
        return std::any_of(entries->begin(), entries->end(), test);
    };
    for (const char* required : {"[Content_Types].xml", "ppt/presentation.xml"}) {
        if (!has([&](const ZipEntry& e) { return e.name == required; })) {
            return NotWhole(Named(required, L" is missing"));
        }
    }
    if (!has([](const ZipEntry& e) { return IsSlide(e.name); }))
        return NotWhole(L"it has no slides");
    for (const ZipEntry& entry : *entries) {
        if (std::optional<PresentationFinding> problem = CheckEntry(file, entry, allowance)) {
            return *problem;
        }
    }
    return {};
}

}  // namespace tidewell
