// Feeds arbitrary bytes to the judgement of a binary PowerPoint file's streams: the input is a
// "Current User" stream (its length in the first two bytes) and then the "PowerPoint Document"
// stream, which is read at the edit offset the first one gives, as the check of a .ppt reads them.
// The compound file around the streams is the platform's to read; what the streams say is ours.
#include <algorithm>
#include <cstdint>
#include <span>

#include "copies/binary_powerpoint.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::span<const std::uint8_t> input(data + 2, size - 2);
    const std::size_t length = std::min<std::size_t>(data[0] | (data[1] << 8), input.size());
    const auto user = tidewell::ReadCurrentUser(input.first(length));
    if (!user) return 0;
    const std::span<const std::uint8_t> document = input.subspan(length);
    const std::size_t at = std::min<std::size_t>(user->editOffset, document.size());
    const auto header =
        document.subspan(at, std::min(tidewell::kEditRecordHeaderSize, document.size() - at));
    tidewell::EditRecordPointsAtEncryption(header);
    return 0;
}
