#include "persistence/setting_commands_win32.h"

#include "common/file_exists_win32.h"
#include "common/full_path_win32.h"
#include "common/path_characters.h"
#include "persistence/kept_entries_win32.h"
#include "persistence/setting_content.h"
#include "persistence/setting_file_codec.h"
#include "persistence/setting_file_io_win32.h"
#include "persistence/setting_messages.h"

namespace tidewell {

namespace {

constexpr wchar_t kSettingExtension[] = L".ppsv";
constexpr wchar_t kSettingFilter[] = L"PowerPoint Viewer setting file|*.ppsv";
constexpr unsigned kSettingDialogOptions = FileDialog::kHideReadOnly | FileDialog::kEnableSizing;

}  // namespace

SettingCommands::SettingCommands(HWND owner, Dialogs& dialogs, PlaylistRows& playlist,
                                 ProgramField& program, MonitorSelector& monitor,
                                 std::function<void()> onLoaded)
    : owner_(owner),
      dialogs_(dialogs),
      playlist_(playlist),
      program_(program),
      monitor_(monitor),
      onLoaded_(std::move(onLoaded)),
      TntOpenDialog3{L"TntOpenDialog3", FileDialog::Kind::Open, kSettingExtension, kSettingFilter,
                     kSettingDialogOptions},
      TntSaveDialog1{L"TntSaveDialog1", FileDialog::Kind::Save, kSettingExtension, kSettingFilter,
                     kSettingDialogOptions | FileDialog::kOverwritePrompt} {}

void SettingCommands::Save() {
    const std::wstring program = program_.ProgramPath();
    if (!FileExists(program)) {
        dialogs_.ShowMessage(owner_, kSelectViewerMessage);
        return;
    }
    if (!dialogs_.RunFileDialog(owner_, TntSaveDialog1)) return;

    const std::wstring& target = TntSaveDialog1.fileName;
    const auto bytes = EncodeSettingFile(
        ComposeSettingLines(monitor_.MonitorNumber(), program, playlist_.Entries()));
    if (SaveSettingFile(target, bytes) == SaveOutcome::TargetInUse) {
        dialogs_.ShowMessage(owner_, FileInUseMessage(target));
    }
}

void SettingCommands::Load() {
    if (!dialogs_.RunFileDialog(owner_, TntOpenDialog3)) return;
    LoadFile(TntOpenDialog3.fileName);
}

void SettingCommands::LoadFile(const std::wstring& path) {
    Apply(Read(path, monitor_.MonitorCount()));
}

ReadSetting SettingCommands::Read(const std::wstring& path, int monitorCount,
                                  const std::wstring& readAs) {
    std::vector<std::uint8_t> bytes = ReadSettingFile(path);
    const auto lines = DecodeSettingLines(bytes, DecodeAnsiText);
    UnreadableEntryLine unreadable;
    ReadSetting read{InterpretSettingLines(lines, monitorCount, &unreadable),
                     {},
                     false,
                     FullPathOf(readAs.empty() ? path : readAs)};
    read.unreadable = std::move(unreadable);
    read.bytes = std::move(bytes);
    if (!read.content) return read;
    // The program line names a file from where the setting file is, whoever opens it from
    // whichever current folder; the field then shows that full path. Anything but a Windows
    // program is refused as text that names no file is.
    std::optional<std::wstring> program = FullPathBeside(read.source, read.content->programPath);
    if (!program || !IsPossiblePath(*program) || !IsProgramPath(*program)) {
        read.content.reset();
        return read;
    }
    read.content->programPath = std::move(*program);
    read.presentations = EntriesNotGone(read.content->presentations, read.source);
    read.programGone = PresenceOf(read.content->programPath) == Presence::Gone;
    return read;
}

void SettingCommands::Apply(ReadSetting read) {
    if (!read.content) {
        dialogs_.ShowMessage(owner_, SettingFormatMessage(read.unreadable));
        return;
    }
    monitor_.SetMonitorNumber(read.content->monitor);
    playlist_.RemoveAll();
    playlist_.SetUnreachable(std::move(read.presentations.unreachable));
    playlist_.AppendEntries(std::move(read.presentations.kept));
    if (!read.programGone) {
        program_.SetProgramPath(read.content->programPath);
        programSource_ = std::move(read.source);
    }
    onLoaded_();
}

}  // namespace tidewell
