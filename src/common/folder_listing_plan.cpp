#include "common/folder_listing_plan.h"

#include <algorithm>
#include <unordered_map>

namespace tidewell {
namespace {

// Beyond this a lookup fails unless long paths are enabled, while the folder's shorter pattern
// could still be listed.
constexpr std::size_t kLongPath = 260;

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

wchar_t UpperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// Names that a case-insensitive file system could take for one another are equal once every
// letter and everything beyond ASCII becomes one mark: case tables map letters to letters (some
// non-ASCII ones to ASCII ones, such as the dotless i to "I") and never touch digits or
// punctuation.
wchar_t SimilarityMark(wchar_t c) {
    return IsAsciiLetter(c) || c >= 0x80 ? L'*' : c;
}

std::size_t SimilarityHash(std::wstring_view name) {
    std::size_t hash = 14695981039346656037ull;
    for (wchar_t c : name)
        hash = (hash ^ static_cast<std::size_t>(SimilarityMark(c))) * 1099511628211ull;
    return hash;
}

bool HasNonAscii(std::wstring_view name) {
    return std::ranges::any_of(name, [](wchar_t c) { return c >= 0x80; });
}

void AppendFoldedAscii(std::wstring_view name, std::wstring& out) {
    for (wchar_t c : name) out += UpperAscii(c);
}

// Characters that make a lookup read the name as a pattern (the last three are the old DOS
// wildcards), that it rewrites, or that can never be in a listed name.
bool HasCharacterForLookupOnly(std::wstring_view path) {
    for (wchar_t c : path) {
        if (c < 0x20) return true;
        switch (c) {
            case L'*':
            case L'?':
            case L'<':
            case L'>':
            case L'"':
            case L'/':
            case L'~':
            case L'|':
                return true;
            default:
                break;
        }
    }
    return false;
}

// "CON", "nul.ppt", "COM1 .pps": names that a lookup takes for a device whatever the folder.
bool IsDeviceName(std::wstring_view name) {
    std::wstring_view plain = name.substr(0, name.find(L'.'));
    while (!plain.empty() && plain.back() == L' ') plain.remove_suffix(1);
    if (plain.size() > 7) return false;  // longer than "CONOUT$"
    std::wstring base;
    AppendFoldedAscii(plain, base);
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
        if (base == device) return true;
    }
    if (base.size() != 4 || (base.compare(0, 3, L"COM") != 0 && base.compare(0, 3, L"LPT") != 0)) {
        return false;
    }
    const wchar_t digit = base[3];
    return (digit >= L'0' && digit <= L'9') || digit == L'\u00b9' || digit == L'\u00b2' ||
           digit == L'\u00b3';
}

// The length of "X:\" or "\\server\share\", or 0 when the path starts otherwise.
std::size_t RootLength(std::wstring_view path) {
    if (path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == L':' && path[2] == L'\\') {
        return 3;
    }
    if (path.size() < 2 || path[0] != L'\\' || path[1] != L'\\') return 0;
    const std::size_t serverEnd = path.find(L'\\', 2);
    if (serverEnd == std::wstring_view::npos || serverEnd == 2) return 0;
    if (path.substr(2, serverEnd - 2) == L".") return 0;  // "\\.\": the device namespace
    const std::size_t shareEnd = path.find(L'\\', serverEnd + 1);
    if (shareEnd == std::wstring_view::npos || shareEnd == serverEnd + 1) return 0;
    return shareEnd + 1;
}

// A part that a lookup would use as written: not empty, not "." or "..", no trailing dot or
// space (which a lookup strips), no ":" (a stream, or no name at all).
bool IsPlainPart(std::wstring_view part) {
    if (part.empty() || part.back() == L'.' || part.back() == L' ') return false;
    return part.find(L':') == std::wstring_view::npos;
}

}  // namespace

std::wstring_view PathRoot(std::wstring_view path) {
    return path.substr(0, RootLength(path));
}

std::optional<ListedName> SplitForListing(std::wstring_view path) {
    if (path.empty() || path.size() >= kLongPath || HasCharacterForLookupOnly(path)) return {};
    const std::size_t root = RootLength(path);
    if (root == 0) return {};
    std::size_t start = root;
    for (;;) {
        const std::size_t end = path.find(L'\\', start);
        const std::wstring_view part = path.substr(start, end - start);
        if (!IsPlainPart(part)) return {};
        if (end == std::wstring_view::npos) {
            if (IsDeviceName(part)) return {};
            return ListedName{path.substr(0, start), part};
        }
        start = end + 1;
    }
}

FolderListingPlan::FolderListingPlan(const std::vector<std::wstring>& paths)
    : FolderListingPlan(std::vector<std::wstring_view>(paths.begin(), paths.end())) {}

FolderListingPlan::FolderListingPlan(std::span<const std::wstring_view> paths)
    : nameOfPath_(paths.size(), kNotListed) {
    // The paths of one folder mostly follow one another: each run of them is counted, and given
    // its folder, with one look in a map instead of one per path.
    std::vector<std::optional<ListedName>> splits;
    splits.reserve(paths.size());
    std::pmr::monotonic_buffer_resource scratch;
    std::pmr::unordered_map<std::wstring_view, std::size_t> pathsPerFolder(&scratch);
    std::size_t namesLength = 0;
    std::wstring_view runFolder;
    std::size_t* runCount = nullptr;
    for (const std::wstring_view path : paths) {
        const std::optional<ListedName>& split = splits.emplace_back(SplitForListing(path));
        if (!split) continue;
        if (!runCount || split->folder != runFolder) {
            runFolder = split->folder;
            runCount = &pathsPerFolder[runFolder];
        }
        ++*runCount;
        namesLength += split->name.size();
    }
    foldedNames_.reserve(namesLength);

    std::pmr::unordered_map<std::wstring_view, std::uint32_t> folderIndex(&scratch);
    // A listed path is its folder and its name, so equal paths are the same name asked twice.
    std::pmr::unordered_map<std::wstring_view, std::uint32_t> nameIndex(&scratch);
    nameIndex.reserve(paths.size());
    runFolder = {};
    std::uint32_t runIndex = kNotListed;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::optional<ListedName>& split = splits[i];
        if (!split) continue;
        if (runFolder.empty() || split->folder != runFolder) {
            runFolder = split->folder;
            runIndex = kNotListed;
            if (pathsPerFolder[runFolder] >= kMinimumPathsPerFolder) {
                const auto [folder, newFolder] =
                    folderIndex.try_emplace(runFolder, static_cast<std::uint32_t>(folders_.size()));
                if (newFolder) folders_.emplace_back(runFolder, &pool_);
                runIndex = folder->second;
            }
        }
        if (runIndex == kNotListed) continue;
        const auto [name, newName] =
            nameIndex.try_emplace(paths[i], static_cast<std::uint32_t>(names_.size()));
        if (newName) {
            const std::size_t start = foldedNames_.size();
            AppendFoldedAscii(split->name, foldedNames_);
            const std::wstring_view folded(foldedNames_.data() + start, split->name.size());
            ListedFolder& listed = folders_[runIndex];
            const auto [first, newFold] = listed.byFolded.try_emplace(folded, name->second);
            const std::size_t shape = SimilarityHash(split->name);
            names_.push_back({split->name, runIndex, shape, newFold ? kNotListed : first->second});
            first->second = name->second;
            listed.shapes.try_emplace(shape);
            ++listed.exactLeft;
        }
        nameOfPath_[i] = name->second;
    }
}

bool FolderListingPlan::Offer(std::size_t folder, std::wstring_view entry, bool directory) {
    ListedFolder& listed = folders_[folder];
    if (listed.abandoned || listed.exactLeft == 0) return false;
    // Only the shape of what a case table might equate is kept (see Answer), so that each
    // entry costs one look in a hash map however many names share its length and punctuation.
    const auto shape = listed.shapes.find(SimilarityHash(entry));
    if (shape != listed.shapes.end()) {
        ShapeSeen& seen = shape->second;
        (directory ? seen.anyDirectory : seen.anyFile) = true;
        if (HasNonAscii(entry)) (directory ? seen.wideDirectory : seen.wideFile) = true;
    }
    foldedEntry_.clear();
    AppendFoldedAscii(entry, foldedEntry_);
    const auto found = listed.byFolded.find(foldedEntry_);
    if (found == listed.byFolded.end()) return listed.exactLeft > 0;
    for (std::uint32_t index = found->second; index != kNotListed;
         index = names_[index].nextSameFold) {
        Name& name = names_[index];
        if (entry == name.text) {
            if (!name.exactSeen) --listed.exactLeft;
            name.exactSeen = true;
            name.exactIsDirectory = directory;
        } else {
            (directory ? name.foldedDirectory : name.foldedFile) = true;
        }
    }
    return listed.exactLeft > 0;
}

void FolderListingPlan::Abandon(std::size_t folder) {
    folders_[folder].abandoned = true;
}

void FolderListingPlan::Complete(std::size_t folder) {
    folders_[folder].complete = true;
}

std::optional<std::size_t> FolderListingPlan::FolderOf(std::size_t index) const {
    if (nameOfPath_[index] == kNotListed) return std::nullopt;
    return names_[nameOfPath_[index]].folder;
}

ListedAnswer FolderListingPlan::Answer(std::size_t index) const {
    if (nameOfPath_[index] == kNotListed) return ListedAnswer::LookUp;
    const Name& name = names_[nameOfPath_[index]];
    if (folders_[name.folder].abandoned) return ListedAnswer::LookUp;
    if (name.exactSeen) return name.exactIsDirectory ? ListedAnswer::NotFile : ListedAnswer::File;
    if (!name.foldedFile && !name.foldedDirectory) {
        // In no spelling of the listing: gone, unless a case table could equate it with a listed
        // entry of its shape. Asking the lookup for every missing name made the start wait for
        // one look-up per name, each a walk through the folder on some file systems.
        const ListedFolder& listed = folders_[name.folder];
        if (!listed.complete) return ListedAnswer::LookUp;
        const auto shape = listed.shapes.find(name.shape);
        if (shape == listed.shapes.end()) return ListedAnswer::NotFile;
        const ShapeSeen& seen = shape->second;
        const bool candidate = HasNonAscii(name.text) ? seen.anyFile || seen.anyDirectory
                                                      : seen.wideFile || seen.wideDirectory;
        return candidate ? ListedAnswer::LookUp : ListedAnswer::NotFile;
    }
    // Spelt only with other case: certain when every entry a lookup might take agrees. Beyond the
    // ASCII case variants, a case table may equate only names of the same shape where one of the
    // two holds a letter beyond ASCII: for an ASCII name, such entries of its shape; for any
    // other, every entry of its shape.
    const ShapeSeen& shape = folders_[name.folder].shapes.at(name.shape);
    const bool wide = HasNonAscii(name.text);
    const bool anyFile = name.foldedFile || (wide ? shape.anyFile : shape.wideFile);
    const bool anyDirectory =
        name.foldedDirectory || (wide ? shape.anyDirectory : shape.wideDirectory);
    if (anyFile && anyDirectory) return ListedAnswer::LookUp;
    return anyFile ? ListedAnswer::File : ListedAnswer::NotFile;
}

}  // namespace tidewell
