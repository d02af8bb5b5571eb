#include "persistence/setting_messages.h"

namespace tidewell {
namespace {

std::wstring FileFailure(std::wstring_view verb, std::wstring_view fullPath,
                         std::wstring_view systemMessage) {
    std::wstring text(verb);
    text += L" file \"";
    text += fullPath;
    text += L"\". ";
    text += systemMessage;
    return text;
}

}  // namespace

std::wstring SettingFormatMessage(const UnreadableEntryLine& unreadable) {
    std::wstring text = kSettingFormatMessage;
    if (unreadable.item.empty()) return text;
    text += L"\n\nThe line of \"";
    text += unreadable.path;
    text += L"\" has a setting that cannot be read: ";
    text += unreadable.item;
    return text;
}

std::wstring FileInUseMessage(std::wstring_view path) {
    std::wstring text(path);
    text += L" is opened by other application, please close it!";
    return text;
}

std::wstring CannotCreateFileMessage(std::wstring_view fullPath, std::wstring_view systemMessage) {
    return FileFailure(L"Cannot create", fullPath, systemMessage);
}

std::wstring CannotOpenFileMessage(std::wstring_view fullPath, std::wstring_view systemMessage) {
    return FileFailure(L"Cannot open", fullPath, systemMessage);
}

std::wstring CannotReadFileMessage(std::wstring_view fullPath, std::wstring_view reason) {
    return FileFailure(L"Cannot read", fullPath, reason);
}

}  // namespace tidewell
