#include "reporting/report_files.h"

#include <chrono>
#include <fstream>
#include <system_error>

namespace tidewell {
namespace {

class StreamFile : public ReadableFile {
  public:
    explicit StreamFile(const std::filesystem::path& path) : stream_(path, std::ios::binary) {}
    bool IsOpen() const { return stream_.is_open(); }
    std::optional<std::size_t> Read(char* into, std::size_t size) override {
        stream_.read(into, static_cast<std::streamsize>(size));
        if (stream_.bad()) return std::nullopt;
        return static_cast<std::size_t>(stream_.gcount());
    }

  private:
    std::ifstream stream_;
};

}  // namespace

ReportFiles StandardReportFiles() {
    ReportFiles files;
    files.list = [](const std::filesystem::path& folder,
                    const std::function<void(const FoundFile&)>& take) {
        std::error_code error;
        std::filesystem::directory_iterator it(folder, error), end;
        for (; !error && it != end; it.increment(error)) {
            std::error_code typeError;
            if (!it->is_regular_file(typeError)) continue;
            const auto written = it->last_write_time(typeError);
            const auto seconds = std::chrono::time_point_cast<std::chrono::seconds>(
                std::chrono::file_clock::to_sys(written));
            take({it->path(), typeError ? 0 : seconds.time_since_epoch().count()});
        }
        return !error;
    };
    files.open = [](const std::filesystem::path& path) -> std::unique_ptr<ReadableFile> {
        auto file = std::make_unique<StreamFile>(path);
        if (!file->IsOpen()) return nullptr;
        return file;
    };
    return files;
}

std::optional<std::string> ReadWhole(ReadableFile& file, std::size_t limit) {
    std::string content;
    char piece[16384];
    for (;;) {
        const std::optional<std::size_t> read = file.Read(piece, sizeof piece);
        if (!read) return std::nullopt;
        if (*read == 0) return content;
        if (content.size() + *read > limit) return std::nullopt;
        content.append(piece, *read);
    }
}

}  // namespace tidewell
