#pragma once
// A fresh folder below the temporary folder for one test, removed with everything in it at the
// end. Header-only: the in-process tests, the end-to-end tests and the benchmarks all use it.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

namespace tidewell::testing {

class TempFolder {
  public:
    explicit TempFolder(const std::wstring& nameHint = L"tidewell-test") {
        static std::atomic<int> counter{0};
        wchar_t temp[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
        path_ = std::wstring(temp, length) + nameHint + L"-" +
                std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
        RemoveTree(path_);
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() { RemoveTree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    // The full path of a name below the folder; nothing is created.
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

    // Creates an empty file below the folder, with extra attributes if given; returns its path.
    std::wstring Touch(const std::wstring& name, DWORD attributes = 0) const {
        const std::wstring path = File(name);
        HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
        if (attributes) ::SetFileAttributesW(path.c_str(), attributes);
        return path;
    }

    std::wstring AddFolder(const std::wstring& name) const {
        const std::wstring path = File(name);
        ::CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }

    // The names in the folder, sorted; shows leftovers such as temporary files.
    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data{};
        HANDLE find = ::FindFirstFileW((path_ + L"\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") names.push_back(name);
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    static void RemoveTree(const std::wstring& folder) {
        WIN32_FIND_DATAW data{};
        HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring full = folder + L"\\" + name;
                ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(full);
                } else {
                    ::DeleteFileW(full.c_str());
                }
            } while (::FindNextFileW(find, &data));
            ::FindClose(find);
        }
        ::RemoveDirectoryW(folder.c_str());
    }

    std::wstring path_;
};

}  // namespace tidewell::testing
