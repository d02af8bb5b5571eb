#pragma once
// What the clean-up of the copies folder may touch, and the one copier of each copy. The copies
// folder is the user's own, but whatever stands in it may have been put there by someone else:
// a junction or a symbolic link named like a copy would lead a removal into the folder it points
// at. Only folders named as copies are copies, a link is never one, and nothing is followed.
#include <windows.h>

#include <optional>
#include <string>

#include "common/unique_handle_win32.h"

namespace tidewell {

// True for an entry of the copies folder that is a copy's folder: a real folder (no junction, no
// symbolic link) named as a copy is.
bool IsCopyFolder(const WIN32_FIND_DATAW& entry);

// Removes the copy's files and then its folder; a folder, a link or anything else in it stays, and
// with it the folder.
void RemoveCopyFolder(const std::wstring& folder);

// One copier of a copy at a time, across processes (an earlier run's thread still copying,
// another logon of the user): each holds the copy's lock file beside its folder, which goes when
// its copier ends, however it ends. `wait`: for the copier under way, else give up at once.
// Nothing when another copier has it and `wait` is false; an empty handle when no lock can be
// made at all (the copy's own writing then fails the same way).
std::optional<UniqueFileHandle> TakeCopierLock(const std::wstring& folder, bool wait);

}  // namespace tidewell
