#pragma once
// The announcement's setting file, as a screen that plays its list follows it: saved on the share,
// it takes over the screen; removed or emptied, it gives the screen back.
#include <optional>
#include <string>
#include <vector>

#include "persistence/setting_file_watch_win32.h"
#include "playlist/entry_settings.h"

namespace tidewell {

class AlertFile {
  public:
    // Nothing is looked at yet: the first Look reads the file.
    explicit AlertFile(std::wstring path);

    // What the announcement holds now, read again only when its size or time changed: its
    // presentations, or none at all when the file is gone, emptied or no setting file. Nothing
    // (nullopt) when that cannot be told now (a share that does not answer, a save under way):
    // the screen goes on as it was. May wait on a share: call it away from the window. What was
    // read is remembered once the run takes it (`toTake`, then Take), as for the setting file.
    std::optional<std::vector<PlaylistEntry>> Look(std::optional<FileStamp>* toTake = nullptr);
    void Take(const FileStamp& stamp) { watch_.Take(stamp); }

  private:
    std::wstring path_;
    SettingFileWatch watch_;
};

}  // namespace tidewell
