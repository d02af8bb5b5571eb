#pragma once
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tidewell {

// A path passes when a find-first-file lookup finds an entry that is not a directory. Wildcards are
// honoured as the lookup honours them: a pattern passes when any file matches it.
bool FileExists(const std::wstring& path);

// What a stored path names now. Gone only when Tidewell could look and found no file there: the
// folder holds no file of that name (or a folder), or the lookup said "not found" on a drive or
// share that answers. A drive that is not there, a volume that is not ready, a share that does
// not answer, a folder that may not be read: the file may well be back later.
enum class Presence { Present, Gone, Unreachable };

Presence PresenceOf(const std::wstring& path);

// PresenceOf for each path, in order. Each drive or share is asked once, and nothing on one that
// does not answer is looked up at all (each lookup there would wait for the network's time-out);
// folders that hold several of the paths are listed once instead of looking each path up.
std::vector<Presence> PresenceOfAll(const std::vector<std::wstring>& paths);
std::vector<Presence> PresenceOfAll(std::span<const std::wstring_view> paths);

// The paths that are present, in their order.
std::vector<std::wstring> ExistingFiles(std::vector<std::wstring> paths);

// The paths that are not gone, in their order, and which of them could not be reached.
struct KeptPaths {
    std::vector<std::wstring> kept;
    std::vector<std::wstring> unreachable;
};
KeptPaths PathsNotGone(std::vector<std::wstring> paths);

}  // namespace tidewell
