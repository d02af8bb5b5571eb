#pragma once
// The file side of setting files: reading one whole, and replacing one without ever leaving the
// user with neither the old nor the new file.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tidewell {

// The whole content of the file; others may read it meanwhile, none may write it. Throws AppError
// "Cannot open file "<full path>". <system message>" when it cannot be opened, and "Cannot read
// file "<full path>". <reason>" when it is no disk file, larger than 64 MB or fails to read.
std::vector<std::uint8_t> ReadSettingFile(const std::wstring& path);

enum class SaveOutcome { Saved, TargetInUse };

// Writes `bytes` as the new content of `target`. The bytes go to a temporary file in the same
// folder first, which then replaces the target in one step, so a failure at any point leaves the
// old file as it was and no temporary file behind. A target that another program holds open (or
// that cannot be deleted) is reported as TargetInUse before anything is written. Throws AppError
// "Cannot create file "<full path>". <system message>" or "Stream write error".
SaveOutcome SaveSettingFile(const std::wstring& target, std::span<const std::uint8_t> bytes);

// A setting file without a mark is text in the code page of the user-interface thread.
std::wstring DecodeAnsiText(std::span<const std::uint8_t> bytes);

}  // namespace tidewell
