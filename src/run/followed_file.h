#pragma once
// What a follower of a file (the setting file a loop plays, the announcement file) remembers of
// it: the size and last-write time it had when the run last took what it held. A look answers
// "unchanged" only against that. A read that nobody took (given up, or answered for a run that
// moved on) leaves it as it was, so that the change is read again; a file found missing forgets
// it, so that the same file put back (a copy keeps its time) is read again too.
#include <mutex>
#include <optional>

#include "common/file_stamp.h"

namespace tidewell {

// Looked at on a worker, taken on the window's thread: the one stamp is guarded.
class FollowedFile {
  public:
    // The file as looked at now (none: it could not be looked at) is what the run last took.
    bool Unchanged(const std::optional<FileStamp>& now) const;
    void Take(const FileStamp& stamp);
    void Forget();

  private:
    mutable std::mutex mutex_;
    std::optional<FileStamp> taken_;
};

}  // namespace tidewell
