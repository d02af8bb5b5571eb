#include "common/file_exists_win32.h"

#include "common/folder_listing_plan.h"
#include "common/unique_handle_win32.h"

namespace tidewell {
namespace {

// Hands the folder's entries to the plan until it has what it needs. A listing that cannot be
// started or breaks off leaves the folder's paths to the lookup.
void ListFolder(FolderListingPlan& plan, std::size_t folder) {
    std::wstring pattern(plan.Folder(folder));
    pattern += L'*';
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        plan.Abandon(folder);
        return;
    }
    do {
        const bool directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!plan.Offer(folder, data.cFileName, directory)) return;
    } while (::FindNextFileW(find.get(), &data));
    if (::GetLastError() != ERROR_NO_MORE_FILES) plan.Abandon(folder);
}

}  // namespace

bool FileExists(const std::wstring& path) {
    if (path.empty()) return false;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(::FindFirstFileW(path.c_str(), &data));
    return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::vector<std::wstring> ExistingFiles(std::vector<std::wstring> paths) {
    std::vector<ListedAnswer> answers;
    {
        FolderListingPlan plan(paths);
        for (std::size_t folder = 0; folder < plan.FolderCount(); ++folder) {
            ListFolder(plan, folder);
        }
        answers.reserve(paths.size());
        for (std::size_t i = 0; i < paths.size(); ++i) answers.push_back(plan.Answer(i));
    }
    std::vector<std::wstring> existing;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (answers[i] == ListedAnswer::File ||
            (answers[i] == ListedAnswer::LookUp && FileExists(paths[i]))) {
            existing.push_back(std::move(paths[i]));
        }
    }
    return existing;
}

}  // namespace tidewell
