#include "copies/zip_layout.h"

#include <algorithm>
#include <string>

#include "common/ascii_case.h"

namespace tidewell {
namespace {

std::optional<PresentationFinding> NamedTwice(const std::vector<ZipEntry>& entries) {
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const ZipEntry& entry : entries) names.push_back(LowerAscii(entry.name));
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    // Stable, so that the finding names the part as the directory first gives it.
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return names[a] < names[b]; });
    const auto twice =
        std::adjacent_find(order.begin(), order.end(),
                           [&](std::size_t a, std::size_t b) { return names[a] == names[b]; });
    if (twice == order.end()) return std::nullopt;
    return NotWhole(ZipLeafText(entries[*twice].name) + L" is named twice");
}

// Each entry takes the bytes from its local header to the end of its packed data; an entry whose
// header cannot be read is left to the check of its own bytes, which names it damaged.
std::optional<PresentationFinding> Overlapping(std::span<const std::uint8_t> file,
                                               const std::vector<ZipEntry>& entries) {
    struct Span {
        std::uint64_t start, end;
        const ZipEntry* entry;
    };
    std::vector<Span> spans;
    spans.reserve(entries.size());
    for (const ZipEntry& entry : entries) {
        const std::optional<std::uint64_t> data = ZipEntryDataStart(file, entry);
        if (!data) continue;
        const std::uint64_t end =
            entry.packedSize > file.size() - std::min<std::uint64_t>(*data, file.size())
                ? file.size()
                : *data + entry.packedSize;
        spans.push_back({entry.localHeader, std::max(end, *data), &entry});
    }
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.start < b.start; });
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].start < spans[i - 1].end) {
            return NotWhole(ZipLeafText(spans[i - 1].entry->name) + L" overlaps " +
                            ZipLeafText(spans[i].entry->name));
        }
    }
    return std::nullopt;
}

}  // namespace

std::uint64_t UnpackBudget(std::uint64_t fileSize) {
    return kUnpackRatio * std::max(fileSize, kUnpackRatioFloor);
}

std::optional<PresentationFinding> ZipLayoutFault(std::span<const std::uint8_t> file,
                                                  const std::vector<ZipEntry>& entries) {
    if (auto twice = NamedTwice(entries)) return twice;
    if (auto overlap = Overlapping(file, entries)) return overlap;
    std::uint64_t promised = 0;
    const std::uint64_t budget = UnpackBudget(file.size());
    for (const ZipEntry& entry : entries) {
        promised += std::min(entry.size, budget + 1);
        if (promised > budget) {
            return NotWhole(L"it would unpack to over " + std::to_wstring(kUnpackRatio) +
                            L" times its size");
        }
    }
    return std::nullopt;
}

}  // namespace tidewell
