// Feeds arbitrary bytes to the check of an Office Open XML presentation and to the ZIP reader under
// it. A deck comes from whoever may write to the share: the check must never crash, never read
// outside the bytes, and finish quickly (the run's time-out catches a slow input), and what it
// calls whole must be a ZIP whose parts PowerPoint can tell apart.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <span>
#include <string>

#include "common/ascii_case.h"
#include "copies/whole_ooxml.h"
#include "copies/zip_directory.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const tidewell::PresentationFinding finding = tidewell::CheckOoxmlPresentation(file);
    // Every finding but "whole" has words for the log.
    Require(finding.IsWhole() == tidewell::FindingText(finding).empty());
    const auto entries = tidewell::ReadZipDirectory(file);
    if (finding.IsWhole()) {
        Require(entries.has_value());
        std::set<std::string> names;
        for (const tidewell::ZipEntry& entry : *entries) {
            Require(names.insert(tidewell::LowerAscii(entry.name)).second);
            const auto start = tidewell::ZipEntryDataStart(file, entry);
            Require(start && *start <= size && entry.packedSize <= size - *start);
        }
    }
    if (entries) {
        for (const tidewell::ZipEntry& entry : *entries) tidewell::ZipEntryDataStart(file, entry);
    }
    tidewell::ReadLocalZipEntry(file, 0);
    return 0;
}
