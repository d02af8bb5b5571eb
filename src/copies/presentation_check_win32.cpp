#include "copies/presentation_check_win32.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "common/com_apartment_win32.h"
#include "common/unique_handle_win32.h"
#include "copies/binary_powerpoint.h"
#include "copies/span_lock_bytes_win32.h"
#include "copies/whole_ooxml.h"

namespace tidewell {
namespace {

constexpr std::array<std::uint8_t, 4> kZipSignature{0x50, 0x4B, 0x03, 0x04};
constexpr std::array<std::uint8_t, 8> kCompoundSignature{0xD0, 0xCF, 0x11, 0xE0,
                                                         0xA1, 0xB1, 0x1A, 0xE1};
// More than any Current User stream holds (a header, fixed fields and two user names).
constexpr ULONG kCurrentUserLimit = 4096;

template <std::size_t N>
bool StartsWith(std::span<const std::uint8_t> bytes, const std::array<std::uint8_t, N>& mark) {
    return bytes.size() >= N && std::equal(mark.begin(), mark.end(), bytes.begin());
}

// The storage reads exactly the bytes that were checked, where they lie, not the file again.
UniqueCom<IStorage> OpenCompound(SpanLockBytes& bytes) {
    UniqueCom<IStorage> storage;
    ::StgOpenStorageOnILockBytes(&bytes, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE | STGM_DIRECT,
                                 nullptr, 0, storage.put());
    return storage;
}

UniqueCom<IStream> OpenStream(IStorage& storage, const wchar_t* name) {
    UniqueCom<IStream> stream;
    storage.OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put());
    return stream;
}

// Reads at most `limit` bytes from the stream's start; fewer when the stream holds fewer.
std::vector<std::uint8_t> ReadStart(IStream& stream, ULONG limit) {
    std::vector<std::uint8_t> bytes(limit);
    ULONG read = 0;
    if (FAILED(stream.Read(bytes.data(), limit, &read))) read = 0;
    bytes.resize(read);
    return bytes;
}

// Nothing when the whole stream can be read back to its stated size, else what went wrong.
std::optional<PresentationFinding> ReadsWhole(IStream& stream, const wchar_t* name,
                                              CheckDeadline deadline) {
    const PresentationFinding cutShort = NotWhole(std::wstring(name) + L" is cut short");
    STATSTG stat{};
    if (FAILED(stream.Stat(&stat, STATFLAG_NONAME))) return cutShort;
    std::vector<std::uint8_t> buffer(256 * 1024);
    ULONGLONG total = 0;
    for (;;) {
        if (deadline != kNoDeadline && std::chrono::steady_clock::now() > deadline) {
            return CheckTookTooLong();
        }
        ULONG read = 0;
        if (FAILED(stream.Read(buffer.data(), static_cast<ULONG>(buffer.size()), &read))) break;
        if (read == 0) break;
        total += read;
    }
    if (total != stat.cbSize.QuadPart) return cutShort;
    return std::nullopt;
}

bool EditPointsAtEncryption(IStream& document, std::uint32_t offset) {
    LARGE_INTEGER at{};
    at.QuadPart = offset;
    if (FAILED(document.Seek(at, STREAM_SEEK_SET, nullptr))) return false;
    return EditRecordPointsAtEncryption(ReadStart(document, kEditRecordHeaderSize));
}

PresentationFinding CheckCompound(std::span<const std::uint8_t> bytes, CheckDeadline deadline) {
    const ComApartment com(COINIT_MULTITHREADED);  // a worker's thread may have none yet
    SpanLockBytes lockBytes(bytes);  // outlives the storage and its streams, declared after it
    const UniqueCom<IStorage> storage = OpenCompound(lockBytes);
    if (!storage) return NotWhole(L"its compound file is damaged or cut short");
    // A deck saved with a password by PowerPoint 2007 and later: the ZIP is inside, encrypted.
    if (OpenStream(*storage.get(), L"EncryptionInfo") &&
        OpenStream(*storage.get(), L"EncryptedPackage")) {
        return {Soundness::NeedsPassword, {}};
    }
    constexpr wchar_t kDocument[] = L"PowerPoint Document";
    const UniqueCom<IStream> document = OpenStream(*storage.get(), kDocument);
    if (!document) return NotWhole(L"it holds no PowerPoint Document stream");
    if (auto unread = ReadsWhole(*document.get(), kDocument, deadline)) return *unread;
    const UniqueCom<IStream> currentUser = OpenStream(*storage.get(), L"Current User");
    if (!currentUser) return NotWhole(L"it holds no Current User stream");
    const std::optional<CurrentUser> user =
        ReadCurrentUser(ReadStart(*currentUser.get(), kCurrentUserLimit));
    if (!user) return NotWhole(L"Current User is damaged");
    if (user->saysEncrypted || EditPointsAtEncryption(*document.get(), user->editOffset)) {
        return {Soundness::NeedsPassword, {}};
    }
    return {};
}

}  // namespace

PresentationFinding CheckPresentationBytes(std::span<const std::uint8_t> bytes,
                                           CheckDeadline deadline) {
    if (bytes.empty()) return {Soundness::NotReadyYet, L"the file is empty"};
    if (StartsWith(bytes, kZipSignature)) return CheckOoxmlPresentation(bytes, deadline);
    if (StartsWith(bytes, kCompoundSignature)) return CheckCompound(bytes, deadline);
    return NotWhole(L"it is not a PowerPoint file");
}

}  // namespace tidewell
