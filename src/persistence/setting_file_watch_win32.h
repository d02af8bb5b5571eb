#pragma once
// A setting file that a looping run follows: one file on a share that many screens play, changed
// by whoever looks after them, and taken up by each screen at its next pass. Only a whole file
// that was not changed while it was read and that is a setting file replaces the playlist.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "playlist/entry_settings.h"
#include "run/followed_file.h"

namespace tidewell {

class SettingFileWatch {
  public:
    // Remembers the file's size and last-write time as they are now; with `takenAsRead` false,
    // nothing is looked at yet and the first call reads the file.
    explicit SettingFileWatch(std::wstring path, bool takenAsRead = true);

    // Remembers them again, after the start's own load of the file.
    void MarkRead();

    enum class Outcome {
        Unchanged,        // size and time as remembered: the file was not read
        Reread,           // `entries` holds the file's presentations that are not gone (kept when
                          // their drive or share does not answer), as "Load setting" adds them
        Failed,           // `error` says why in words; `entries` is left as it was
        NotASettingFile,  // a whole file that is none (emptied, say): as Failed, until it changes
    };
    // Reads the file again when its size or time differs from what was taken, and gives its
    // presentations as "Load setting" would add them. A file that cannot be read (missing,
    // unreachable, held by a writer, changing while read) fails and is tried again next time; a
    // file that is no setting file fails once for each change that is taken.
    //
    // What was read is remembered only once it is taken: with `toTake`, the caller takes it
    // (Take) when the run takes the content; without, at once. `toTake` is left empty when the
    // file is to be read again next time whatever its stamp: a presentation it names is missing
    // (saved before its deck was copied), and is looked for again.
    Outcome RereadIfChanged(std::vector<PlaylistEntry>& entries, std::wstring& error,
                            std::optional<FileStamp>* toTake = nullptr);
    void Take(const FileStamp& stamp) { followed_.Take(stamp); }
    const std::wstring& Path() const { return path_; }

  private:
    std::optional<FileStamp> StampNow(DWORD& failure) const;

    std::wstring path_;
    FollowedFile followed_;
};

}  // namespace tidewell
