#pragma once
// Bytes that are already at hand (a mapping of the file) as the structured-storage API reads a
// compound file: the check of a binary deck then reads them where they lie, with no copy of the
// deck in memory. Read-only. It lives as long as the check that opens a storage on it, which
// releases it before it goes, so its count of references guards nothing.
#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <span>

namespace tidewell {

class SpanLockBytes final : public ILockBytes {
  public:
    explicit SpanLockBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE ReadAt(ULARGE_INTEGER offset, void* into, ULONG count,
                                     ULONG* read) override;
    HRESULT STDMETHODCALLTYPE WriteAt(ULARGE_INTEGER, const void*, ULONG, ULONG*) override {
        return STG_E_ACCESSDENIED;
    }
    HRESULT STDMETHODCALLTYPE Flush() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    // Nobody else opens these bytes: there is nothing to lock against.
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override;

  private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace tidewell
