#include "reporting/report_files_win32.h"

#include <windows.h>

#include "common/file_time_win32.h"
#include "common/unique_handle_win32.h"
#include "common/utf16.h"

namespace tidewell {
namespace {

// 100 ns ticks from 1601 to 1970.
constexpr std::uint64_t kTicksTo1970 = 116'444'736'000'000'000ull;

class SharedFile : public ReadableFile {
  public:
    explicit SharedFile(UniqueFileHandle file) : file_(std::move(file)) {}
    std::optional<std::size_t> Read(char* into, std::size_t size) override {
        DWORD read = 0;
        const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        if (!::ReadFile(file_.get(), into, asked, &read, nullptr)) return std::nullopt;
        return read;
    }

  private:
    UniqueFileHandle file_;
};

ZoneChange ChangeOf(const SYSTEMTIME& t) {
    return {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute};
}

}  // namespace

ReportFiles SharedReportFiles() {
    ReportFiles files;
    files.list = [](const std::filesystem::path& folder,
                    const std::function<void(const FoundFile&)>& take) {
        WIN32_FIND_DATAW found{};
        UniqueFindHandle find(::FindFirstFileExW((folder / L"*").c_str(), FindExInfoBasic, &found,
                                                 FindExSearchNameMatch, nullptr,
                                                 FIND_FIRST_EX_LARGE_FETCH));
        if (!find) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::uint64_t written = FileTimeValue(found.ftLastWriteTime);
            take({folder / found.cFileName,
                  static_cast<long long>(written - kTicksTo1970) / 10'000'000});
        } while (::FindNextFileW(find.get(), &found));
        return ::GetLastError() == ERROR_NO_MORE_FILES;
    };
    files.open = [](const std::filesystem::path& path) -> std::unique_ptr<ReadableFile> {
        UniqueFileHandle file(::CreateFileW(
            path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file) return nullptr;
        return std::make_unique<SharedFile>(std::move(file));
    };
    return files;
}

ZoneYearOf SystemZoneRules() {
    return [](const std::string& key, int year) -> std::optional<ZoneYear> {
        DYNAMIC_TIME_ZONE_INFORMATION zone{};
        const std::wstring wideKey =
            DecodeUtf8({reinterpret_cast<const std::uint8_t*>(key.data()), key.size()});
        if (year < 1601 || year > 30827 || wideKey.size() >= std::size(zone.TimeZoneKeyName)) {
            return std::nullopt;
        }
        wideKey.copy(zone.TimeZoneKeyName, wideKey.size());
        TIME_ZONE_INFORMATION rules{};
        if (!::GetTimeZoneInformationForYear(static_cast<USHORT>(year), &zone, &rules)) {
            return std::nullopt;
        }
        return ZoneYear{static_cast<int>(rules.Bias), static_cast<int>(rules.StandardBias),
                        static_cast<int>(rules.DaylightBias), ChangeOf(rules.StandardDate),
                        ChangeOf(rules.DaylightDate)};
    };
}

std::wstring LocalZoneKey() {
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    if (::GetDynamicTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) return {};
    return zone.TimeZoneKeyName;
}

}  // namespace tidewell
