#pragma once
// Answers the file-exists test for many paths from one listing per folder instead of one lookup
// per path. A lookup costs a file-system round trip (a network round trip on a share), so a
// stored playlist of thousands of entries made the start wait for thousands of them.
//
// The listing answers only where it is certain to give the lookup's own answer: the name is
// found in the listing, spelt exactly or differing only in the case of ASCII letters, and no
// other entry of the listing could be the one a case-insensitive lookup would take instead; or
// the name is in no spelling of a whole listing that a case table could equate with it. Everything
// else (names that the lookup would rewrite or read as a pattern, device names, possible short
// names, folders that cannot be listed) is left to the lookup.
#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tidewell {

// A path split into the folder to list (ending with a backslash) and the name to find in it;
// both are views of the path.
struct ListedName {
    std::wstring_view folder;
    std::wstring_view name;
};

// The split, or nothing when a listing could answer differently from a lookup of the path:
// anything but a plain "X:\...\name" or "\\server\share\...\name" path, wildcard characters,
// "." or ".." or empty parts, parts ending in a dot or a space, forward slashes, a "~" (the name
// may be a short 8.3 alias), device names such as "CON" or "com1.ppt", and paths of 260
// characters or more, which a lookup refuses where long paths are not enabled.
std::optional<ListedName> SplitForListing(std::wstring_view path);

enum class ListedAnswer { File, NotFile, LookUp };

// The drive or share a path lives on, "X:\" or "\\server\share\", as a view of the path; empty
// for any other form (relative paths, "X:name", the device namespace).
std::wstring_view PathRoot(std::wstring_view path);

class FolderListingPlan {
  public:
    // Folders holding fewer paths than this are not listed: a lookup is as cheap.
    static constexpr std::size_t kMinimumPathsPerFolder = 2;

    // The paths must outlive the plan, which keeps views of them; so no temporary list.
    explicit FolderListingPlan(std::span<const std::wstring_view> paths);
    explicit FolderListingPlan(const std::vector<std::wstring>& paths);
    explicit FolderListingPlan(std::vector<std::wstring>&&) = delete;
    // It keeps views of its own folded names.
    FolderListingPlan(const FolderListingPlan&) = delete;
    FolderListingPlan& operator=(const FolderListingPlan&) = delete;

    // The folders worth listing, each once, spelt as in the paths (folders are not merged by
    // case: on a case-sensitive file system two spellings may be two folders).
    std::size_t FolderCount() const { return folders_.size(); }
    std::wstring_view Folder(std::size_t folder) const { return folders_[folder].path; }

    // One entry of the folder's listing. Returns false once every name asked for in that folder
    // has been found spelt exactly, so the rest of the listing cannot change an answer.
    bool Offer(std::size_t folder, std::wstring_view entry, bool directory);

    // The folder's listing did not run to its end: its names are left to the lookup.
    void Abandon(std::size_t folder);
    // The folder's listing ran to its end: a name it did not hold is not there.
    void Complete(std::size_t folder);

    // The answer for paths[index] of the constructor.
    ListedAnswer Answer(std::size_t index) const;
    // The folder whose listing answers paths[index] of the constructor, if any.
    std::optional<std::size_t> FolderOf(std::size_t index) const;

  private:
    static constexpr std::uint32_t kNotListed = UINT32_MAX;

    // What the listing said about one distinct name asked for.
    struct Name {
        std::wstring_view text;
        std::uint32_t folder = 0;
        std::size_t shape = 0;                    // SimilarityHash: length and punctuation
        std::uint32_t nextSameFold = kNotListed;  // the next name of its folder and ASCII case
        bool exactSeen = false, exactIsDirectory = false;
        bool foldedFile = false, foldedDirectory = false;  // spelt with other ASCII case
    };
    // The entries of one shape (a shape that some name asked for has) that were listed.
    struct ShapeSeen {
        bool anyFile = false, anyDirectory = false;
        bool wideFile = false, wideDirectory = false;  // with a character beyond ASCII
    };
    struct ListedFolder {
        ListedFolder(std::wstring_view folder, std::pmr::memory_resource* pool)
            : path(folder), byFolded(pool), shapes(pool) {}
        std::wstring_view path;
        // The names asked for, by their ASCII upper case (a view of foldedNames_): an entry finds
        // its exact spelling and its ASCII case variants in one look, the first of them here and
        // the others chained by Name::nextSameFold.
        std::pmr::unordered_map<std::wstring_view, std::uint32_t> byFolded;
        std::pmr::unordered_map<std::size_t, ShapeSeen> shapes;
        std::size_t exactLeft = 0;
        bool abandoned = false;
        bool complete = false;
    };

    // The maps' nodes, a few per name asked for, come from here and go all at once with the plan:
    // a heap block each made the plan of 50,000 stored entries a good part of the start.
    std::pmr::monotonic_buffer_resource pool_;
    std::vector<ListedFolder> folders_;
    std::vector<Name> names_;
    std::vector<std::uint32_t> nameOfPath_;  // kNotListed: left to the lookup
    // Every listed name in ASCII upper case, one after the other; reserved once, so that the
    // views of it stay valid. A folded copy per name cost a heap block per stored entry.
    std::wstring foldedNames_;
    std::wstring foldedEntry_;  // Offer's, kept so that a listing folds without allocating
};

}  // namespace tidewell
