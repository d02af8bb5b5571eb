#pragma once
// A dialog template built in memory, in dialog units, so that a dialog scales with its font like
// any resource dialog without its room needing resources of its own.
#include <windows.h>

#include <cstddef>
#include <string_view>
#include <vector>

namespace tidewell {

class DialogTemplate {
  public:
    // A modal, centred dialog in "MS Shell Dlg 2" of `pointSize` points.
    DialogTemplate(std::wstring_view title, short width, short height, WORD pointSize);

    // A control; WS_CHILD | WS_VISIBLE are always added. Tab order is the order of adding.
    void Add(const wchar_t* windowClass, std::wstring_view text, int id, DWORD style, short x,
             short y, short width, short height);

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

  private:
    template <class T>
    void Put(T value);
    void PutText(std::wstring_view text);
    void Align(std::size_t boundary);

    std::vector<unsigned char> bytes_;
    std::size_t countAt_ = 0;
};

}  // namespace tidewell
