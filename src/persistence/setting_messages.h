#pragma once

#include <string>
#include <string_view>

#include "persistence/setting_content.h"

namespace tidewell {

// Texts that "Save setting" and "Load setting" show, exactly as users know them.
inline constexpr wchar_t kSelectViewerMessage[] =
    L"Please select MS PowerPoint Viewer executable file!";
inline constexpr wchar_t kSettingFormatMessage[] = L"Error ppsv format!";
inline constexpr wchar_t kStreamWriteErrorMessage[] = L"Stream write error";

// Why a file cannot be read as a setting file, in words, after "Cannot read file "<path>". ".
inline constexpr wchar_t kNotADiskFileReason[] = L"It is not a file on a disk.";
inline constexpr wchar_t kTooLargeReason[] =
    L"It is larger than 64 MB, far too large to be a setting file.";

// kSettingFormatMessage, followed for a presentation line whose settings cannot be read (a
// `unreadable` with a path or an item) by which line and which setting.
std::wstring SettingFormatMessage(const UnreadableEntryLine& unreadable);

// "<path> is opened by other application, please close it!"
std::wstring FileInUseMessage(std::wstring_view path);
// "Cannot create file "<full path>". <system message>"
std::wstring CannotCreateFileMessage(std::wstring_view fullPath, std::wstring_view systemMessage);
// "Cannot open file "<full path>". <system message>"
std::wstring CannotOpenFileMessage(std::wstring_view fullPath, std::wstring_view systemMessage);
// "Cannot read file "<full path>". <reason>"
std::wstring CannotReadFileMessage(std::wstring_view fullPath, std::wstring_view reason);

}  // namespace tidewell
