#pragma once
// Real files for the persistence tests: a scratch folder of the test's own, byte-exact reads and
// writes, and another process that holds a file open the way other programs do.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/unique_handle_win32.h"
#include "support/temp_folder.h"

namespace tidewell::testing {

using Bytes = std::vector<std::uint8_t>;

// The test's own folder, with byte-exact files: File(name, bytes) creates one and returns its path.
class ScratchFolder : public TempFolder {
  public:
    ScratchFolder() : TempFolder(L"tidewell-persistence") {}

    std::wstring operator/(const std::wstring& name) const { return TempFolder::File(name); }
    // Creates an (empty unless given) file and returns its full path.
    std::wstring File(const std::wstring& name, const Bytes& content = {}) const;
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
