#include "common/dialog_template_win32.h"

#include <cstring>

namespace tidewell {

DialogTemplate::DialogTemplate(std::wstring_view title, short width, short height, WORD pointSize) {
    Align(4);
    Put<DWORD>(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    Put<DWORD>(0);
    countAt_ = bytes_.size();
    Put<WORD>(0);
    Put<short>(0);
    Put<short>(0);
    Put<short>(width);
    Put<short>(height);
    Put<WORD>(0);  // no menu
    Put<WORD>(0);  // the standard dialog class
    PutText(title);
    Put<WORD>(pointSize);
    PutText(L"MS Shell Dlg 2");
}

void DialogTemplate::Add(const wchar_t* windowClass, std::wstring_view text, int id, DWORD style,
                         short x, short y, short width, short height) {
    Align(4);
    Put<DWORD>(style | WS_CHILD | WS_VISIBLE);
    Put<DWORD>(0);
    Put<short>(x);
    Put<short>(y);
    Put<short>(width);
    Put<short>(height);
    Put<WORD>(static_cast<WORD>(id));
    PutText(windowClass);
    PutText(text);
    Put<WORD>(0);  // no creation data
    WORD count = 0;
    std::memcpy(&count, bytes_.data() + countAt_, sizeof count);
    ++count;
    std::memcpy(bytes_.data() + countAt_, &count, sizeof count);
}

template <class T>
void DialogTemplate::Put(T value) {
    const std::size_t at = bytes_.size();
    bytes_.resize(at + sizeof value);
    std::memcpy(bytes_.data() + at, &value, sizeof value);
}

void DialogTemplate::PutText(std::wstring_view text) {
    for (const wchar_t c : text) Put<WORD>(c);
    Put<WORD>(0);
}

void DialogTemplate::Align(std::size_t boundary) {
    while (bytes_.size() % boundary) bytes_.push_back(0);
}

}  // namespace tidewell
