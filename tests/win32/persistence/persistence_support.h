#pragma once
// Real files for the persistence tests: a scratch folder of the test's own, byte-exact reads and
// writes, and another process that holds a file open the way other programs do.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/unique_handle_win32.h"

namespace tidewell::testing {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder below the temporary folder, removed with everything in it at the end.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
    // Creates an (empty unless given) file and returns its full path.
    std::wstring File(const std::wstring& name, const Bytes& content = {}) const;
    // The names in the folder, sorted; shows leftovers such as temporary files.
    std::vector<std::wstring> Names() const;

  private:
    std::wstring path_;
};

void WriteBytes(const std::wstring& path, const Bytes& bytes);
Bytes ReadBytes(const std::wstring& path);
Bytes Utf16LeWithMark(const std::wstring& text);

// Another process (this test program, started again) that opens `path` and keeps it open until
// this object goes away.
class FileHolder {
  public:
    enum class Mode {
        Exclusive,  // read and write access, no sharing at all
        Writer,     // write access; others may read and write
    };
    FileHolder(const std::wstring& path, Mode mode);
    ~FileHolder();
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;
    // True once the other process has the file open.
    bool Holding() const { return holding_; }

  private:
    UniqueKernelHandle release_;
    UniqueKernelHandle process_;
    bool holding_ = false;
};

}  // namespace tidewell::testing
