#include "common/file_exists_win32.h"

#include <windows.h>

#include <optional>
#include <unordered_map>

#include "common/folder_listing_plan.h"
#include "common/full_path_win32.h"
#include "common/unique_handle_win32.h"

namespace tidewell {
namespace {

// Failures that say the name is not there, or cannot name anything, on a volume that answered.
// A drive letter that is not mapped also says "path not found", hence the check of the root.
bool SaysNotThere(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
            return true;
        default:
            return false;
    }
}

// Whether the drive or share of a path answers, asked once per root.
class RootAnswers {
  public:
    bool Reachable(std::wstring_view path) {
        std::wstring full;
        std::wstring_view root = PathRoot(path);
        if (root.empty()) {
            full = FullPathOf(std::wstring(path));
            root = PathRoot(full);
        }
        // Nothing to ask (a device path, say): the lookup's own answer stands.
        if (root.empty()) return true;
        // Most paths share their root with the one before: no map look, no copy of the root.
        if (last_ && root == last_->first) return last_->second;
        const auto [known, added] = reachable_.try_emplace(std::wstring(root), false);
        if (added) {
            known->second = ::GetFileAttributesW(known->first.c_str()) != INVALID_FILE_ATTRIBUTES;
        }
        last_ = &*known;
        return known->second;
    }

  private:
    std::unordered_map<std::wstring, bool> reachable_;
    const std::pair<const std::wstring, bool>* last_ = nullptr;
};

Presence LookUp(const std::wstring& path, RootAnswers& roots) {
    if (path.empty()) return Presence::Gone;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(::FindFirstFileW(path.c_str(), &data));
    if (find) {
        return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Presence::Gone
                                                                  : Presence::Present;
    }
    return SaysNotThere(::GetLastError()) && roots.Reachable(path) ? Presence::Gone
                                                                   : Presence::Unreachable;
}

// Hands the folder's entries to the plan until it has what it needs. A folder that cannot be
// listed answers for all its paths; a listing that breaks off leaves them to the lookup.
std::optional<Presence> ListFolder(FolderListingPlan& plan, std::size_t folder) {
    std::wstring pattern(plan.Folder(folder));
    pattern += L'*';
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        // Its root answered: a folder that is not there holds none of them.
        return SaysNotThere(::GetLastError()) ? Presence::Gone : Presence::Unreachable;
    }
    do {
        const bool directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!plan.Offer(folder, data.cFileName, directory)) return std::nullopt;
    } while (::FindNextFileW(find.get(), &data));
    if (::GetLastError() == ERROR_NO_MORE_FILES) {
        plan.Complete(folder);
    } else {
        plan.Abandon(folder);
    }
    return std::nullopt;
}

}  // namespace

bool FileExists(const std::wstring& path) {
    if (path.empty()) return false;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(::FindFirstFileW(path.c_str(), &data));
    return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

Presence PresenceOf(const std::wstring& path) {
    RootAnswers roots;
    return LookUp(path, roots);
}

std::vector<Presence> PresenceOfAll(const std::vector<std::wstring>& paths) {
    return PresenceOfAll(std::vector<std::wstring_view>(paths.begin(), paths.end()));
}

std::vector<Presence> PresenceOfAll(std::span<const std::wstring_view> paths) {
    RootAnswers roots;
    std::vector<Presence> presence(paths.size(), Presence::Present);
    std::vector<bool> reachable(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) reachable[i] = roots.Reachable(paths[i]);

    FolderListingPlan listing(paths);
    std::vector<std::optional<Presence>> folderAnswers(listing.FolderCount());
    for (std::size_t folder = 0; folder < listing.FolderCount(); ++folder) {
        if (!roots.Reachable(listing.Folder(folder))) continue;
        folderAnswers[folder] = ListFolder(listing, folder);
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!reachable[i]) {
            presence[i] = Presence::Unreachable;
            continue;
        }
        const std::optional<std::size_t> folder = listing.FolderOf(i);
        if (folder && folderAnswers[*folder]) {
            presence[i] = *folderAnswers[*folder];
            continue;
        }
        switch (listing.Answer(i)) {
            case ListedAnswer::File:
                presence[i] = Presence::Present;
                break;
            case ListedAnswer::NotFile:
                presence[i] = Presence::Gone;
                break;
            case ListedAnswer::LookUp:
                presence[i] = LookUp(std::wstring(paths[i]), roots);
                break;
        }
    }
    return presence;
}

std::vector<std::wstring> ExistingFiles(std::vector<std::wstring> paths) {
    const std::vector<Presence> presence = PresenceOfAll(paths);
    std::vector<std::wstring> existing;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (presence[i] == Presence::Present) existing.push_back(std::move(paths[i]));
    }
    return existing;
}

KeptPaths PathsNotGone(std::vector<std::wstring> paths) {
    const std::vector<Presence> presence = PresenceOfAll(paths);
    KeptPaths result;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (presence[i] == Presence::Gone) continue;
        if (presence[i] == Presence::Unreachable) result.unreachable.push_back(paths[i]);
        result.kept.push_back(std::move(paths[i]));
    }
    return result;
}

}  // namespace tidewell
