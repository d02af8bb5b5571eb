#pragma once
// A file's name as a page or a report shows it. Folders on NTFS and on shares may hold names that
// are no valid text (an unpaired surrogate; bytes that are not UTF-8 on other systems), and
// anybody who may write the folder may put one there: such a name is shown with U+FFFD where it
// breaks, and never costs the page or the report.
#include <filesystem>
#include <string>

namespace tidewell {

// UTF-8 of the name as PlainUtf8 gives it: control characters become spaces.
std::string FileNameText(const std::filesystem::path& name);

}  // namespace tidewell
