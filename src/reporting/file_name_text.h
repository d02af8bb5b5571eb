#pragma once
// A file's name as a page or a report shows it. Folders on NTFS and on shares may hold names that
// are no valid text (an unpaired surrogate; bytes that are not UTF-8 on other systems), and
// anybody who may write the folder may put one there: such a name is shown with U+FFFD where it
// breaks, and never costs the page or the report.
#include <filesystem>
#include <functional>
#include <string>

namespace tidewell {

// UTF-8 of the name as PlainUtf8 gives it: control characters become spaces.
std::string FileNameText(const std::filesystem::path& name);

// Calls `take` with each plain file of `folder`. Stepped with an error code: a folder that changes
// or fails under the listing ends it early, and nothing is thrown.
void ForEachFileIn(const std::filesystem::path& folder,
                   const std::function<void(const std::filesystem::path&)>& take);

}  // namespace tidewell
