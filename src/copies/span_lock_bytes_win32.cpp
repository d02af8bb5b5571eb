#include "copies/span_lock_bytes_win32.h"

#include <algorithm>
#include <cstring>

namespace tidewell {

HRESULT SpanLockBytes::QueryInterface(REFIID id, void** out) {
    if (!out) return E_POINTER;
    if (!::IsEqualIID(id, IID_IUnknown) && !::IsEqualIID(id, IID_ILockBytes)) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<ILockBytes*>(this);
    return S_OK;
}

// Past the end reads nothing, as a file does: the storage takes a short read for a file cut short.
HRESULT SpanLockBytes::ReadAt(ULARGE_INTEGER offset, void* into, ULONG count, ULONG* read) {
    if (!into) return STG_E_INVALIDPOINTER;
    const std::uint64_t at = std::min<std::uint64_t>(offset.QuadPart, bytes_.size());
    const auto length = static_cast<ULONG>(std::min<std::uint64_t>(count, bytes_.size() - at));
    std::memcpy(into, bytes_.data() + at, length);
    if (read) *read = length;
    return S_OK;
}

HRESULT SpanLockBytes::Stat(STATSTG* stat, DWORD) {
    if (!stat) return STG_E_INVALIDPOINTER;
    *stat = {};
    stat->type = STGTY_LOCKBYTES;
    stat->cbSize.QuadPart = bytes_.size();
    stat->grfMode = STGM_READ | STGM_SHARE_DENY_NONE;
    return S_OK;
}

}  // namespace tidewell
