#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "playlist/entry_settings.h"

namespace tidewell {

// Names of the values under the preferences key.
inline constexpr wchar_t kFilesValueName[] = L"files";
inline constexpr wchar_t kProgramValueName[] = L"pptexfile";
inline constexpr wchar_t kMonitorValueName[] = L"monitorc";
// The program the user picked with the folder button or played with "Play All" or "Play
// Selected": the one program besides PowerPoint that may start with nobody at the desk. Kept apart
// from "pptexfile", which also holds a program that a setting file brought in.
inline constexpr wchar_t kChosenProgramValueName[] = L"chosenpptexfile";

// The playlist as one "files" value: the entry lines joined by CR LF and trimmed,
// so no line break follows the last one. Only the ends of the whole text are
// trimmed, never an inner line on its own.
std::wstring JoinPlaylistForStore(const std::vector<PlaylistEntry>& entries);

// The candidate entries of a stored "files" value, in order (not yet tested for
// existence, and deliberately not trimmed one by one). Settings that cannot be
// read are kept as they stood.
std::vector<PlaylistEntry> SplitStoredPlaylist(std::wstring_view stored);

// REG_SZ data for `text`: its UTF-16LE code units and one NUL code unit.
std::vector<std::uint8_t> RegistryStringData(std::wstring_view text);

// The text of REG_SZ / REG_EXPAND_SZ data: up to the first NUL code unit,
// so the stored terminator and anything after an embedded NUL are dropped.
std::wstring TextFromRegistryData(std::span<const std::uint8_t> data);

// Error texts of the registry string operations.
std::wstring InvalidDataTypeMessage(std::wstring_view valueName);
std::wstring FailedToGetDataMessage(std::wstring_view valueName);
std::wstring FailedToSetDataMessage(std::wstring_view valueName);

}  // namespace tidewell
