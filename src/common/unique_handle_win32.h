#pragma once
// One move-only owner for every kind of OS handle. Each kind is described by a small traits struct
// (its type, its invalid value and how to close it), so that no handle kind gets a hand-written
// wrapper of its own and no wrapper can be copied (a copy would close the handle twice).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <utility>

namespace tidewell {

template <typename Traits>
class UniqueHandle {
  public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Type get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }
    Type release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Type handle = Traits::Invalid()) noexcept {
        const Type old = std::exchange(handle_, handle);
        if (old != Traits::Invalid()) Traits::Close(old);
    }
    // For APIs that return the handle through an out parameter.
    Type* put() noexcept {
        reset();
        return &handle_;
    }

  private:
    Type handle_ = Traits::Invalid();
};

namespace handle_traits {

struct Kernel {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};
struct File {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};
struct MappedView {
    using Type = const void*;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::UnmapViewOfFile(h); }
};
struct Find {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindClose(h); }
};
struct ChangeNotification {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindCloseChangeNotification(h); }
};
struct EventSource {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DeregisterEventSource(h); }
};
struct RegistryKey {
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::RegCloseKey(h); }
};
struct Drop {
    using Type = HDROP;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DragFinish(h); }
};
struct GdiObject {
    using Type = HGDIOBJ;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DeleteObject(h); }
};
struct Icon {
    using Type = HICON;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyIcon(h); }
};
struct Menu {
    using Type = HMENU;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyMenu(h); }
};
struct MemoryDC {
    using Type = HDC;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DeleteDC(h); }
};
struct ImageList {
    using Type = HIMAGELIST;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::ImageList_Destroy(h); }
};
struct CoTaskMemory {
    using Type = void*;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::CoTaskMemFree(h); }
};
struct WinEventHook {
    using Type = HWINEVENTHOOK;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::UnhookWinEvent(h); }
};

}  // namespace handle_traits

namespace handle_traits {
template <typename Interface>
struct Com {
    using Type = Interface*;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type p) noexcept { p->Release(); }
};
}  // namespace handle_traits

using UniqueKernelHandle = UniqueHandle<handle_traits::Kernel>;
using UniqueFileHandle = UniqueHandle<handle_traits::File>;
using UniqueFindHandle = UniqueHandle<handle_traits::Find>;
using UniqueMappedView = UniqueHandle<handle_traits::MappedView>;
using UniqueHKEY = UniqueHandle<handle_traits::RegistryKey>;
using UniqueEventSource = UniqueHandle<handle_traits::EventSource>;
using UniqueHDROP = UniqueHandle<handle_traits::Drop>;
using UniqueGdiObject = UniqueHandle<handle_traits::GdiObject>;
using UniqueHICON = UniqueHandle<handle_traits::Icon>;
using UniqueHMENU = UniqueHandle<handle_traits::Menu>;
using UniqueMemoryDC = UniqueHandle<handle_traits::MemoryDC>;
using UniqueImageList = UniqueHandle<handle_traits::ImageList>;
using UniqueCoTaskMem = UniqueHandle<handle_traits::CoTaskMemory>;
using UniqueWinEventHook = UniqueHandle<handle_traits::WinEventHook>;
template <typename Interface>
using UniqueCom = UniqueHandle<handle_traits::Com<Interface>>;

// A window's device context (the screen's for nullptr), released to that window at the end. It is
// bound to its window and so neither copied nor moved.
class UniqueWindowDC {
  public:
    explicit UniqueWindowDC(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~UniqueWindowDC() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    UniqueWindowDC(const UniqueWindowDC&) = delete;
    UniqueWindowDC& operator=(const UniqueWindowDC&) = delete;
    HDC get() const noexcept { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for the guard's lifetime; what was selected before is
// selected again at the end, so the context never keeps an object that is about to be deleted.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace tidewell
