#include "run/followed_file.h"

namespace tidewell {

bool FollowedFile::Unchanged(const std::optional<FileStamp>& now) const {
    const std::lock_guard lock(mutex_);
    return now && now == taken_;
}

void FollowedFile::Take(const FileStamp& stamp) {
    const std::lock_guard lock(mutex_);
    taken_ = stamp;
}

void FollowedFile::Forget() {
    const std::lock_guard lock(mutex_);
    taken_.reset();
}

}  // namespace tidewell
