#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/resource.h"
#include "common/utf16.h"
#include "persistence/registry_strings_win32.h"
#include "persistence_support.h"
#include "playlist/playlist_view_win32.h"
#include "support/form_fixture.h"

namespace tidewell::testing {
namespace {

struct RawValue {
    DWORD type = REG_NONE;
    Bytes data;
};

class Preferences : public FormFixture {
  protected:
    void Store(const wchar_t* name, const std::wstring& text) {
        UniqueHKEY key = OpenPreferencesKey(keyPath_);
        ASSERT_TRUE(key);
        WriteRegistryString(key.get(), name, text);
    }
    // A value of another type than text.
    void StoreNumber(const wchar_t* name) {
        UniqueHKEY key = OpenPreferencesKey(keyPath_);
        const DWORD number = 7;
        ASSERT_EQ(::RegSetValueExW(key.get(), name, 0, REG_DWORD,
                                   reinterpret_cast<const BYTE*>(&number), sizeof number),
                  ERROR_SUCCESS);
    }
    RawValue Raw(const wchar_t* name) {
        RawValue value;
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            ADD_FAILURE() << "the preferences key does not exist";
            return value;
        }
        DWORD size = 0;
        ::RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size);
        value.data.resize(size);
        ::RegQueryValueExW(key, name, nullptr, nullptr, value.data.data(), &size);
        ::RegCloseKey(key);
        return value;
    }
    // REG_SZ holding exactly the text's UTF-16LE units and one NUL unit.
    void ExpectStored(const wchar_t* name, const std::wstring& text) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(name)));
        const RawValue value = Raw(name);
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
        Bytes expected = EncodeUtf16(text, ByteOrder::LittleEndian);
        expected.insert(expected.end(), {0, 0});
        EXPECT_EQ(value.data, expected);
    }
    void Close() { ::SendMessageW(form_->Handle(), WM_CLOSE, 0, 0); }
    // A second main window in the same test, as after a restart of the program.
    void Restart() {
        form_.reset();
        CreateForm();
    }

    ScratchFolder folder_;
};

TEST_F(Preferences, FirstStart_NoKey_KeyCreatedDefaultsAndCloseWritesThem) {
    HKEY probe = nullptr;
    ASSERT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_READ, &probe),
              ERROR_SUCCESS);
    CreateForm();
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_READ, &probe),
              ERROR_SUCCESS);
    DWORD valueCount = 99;
    ::RegQueryInfoKeyW(probe, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
                       nullptr, nullptr, nullptr, nullptr);
    ::RegCloseKey(probe);
    EXPECT_EQ(valueCount, 0u);
    EXPECT_EQ(form_->Playlist().Count(), 0);
    EXPECT_EQ(ProgramPath(), kProgramPrompt);
    EXPECT_EQ(MonitorNumber(), 1);

    Close();
    EXPECT_TRUE(form_->IsClosed());
    ExpectStored(L"files", L"");
    ExpectStored(L"pptexfile", kProgramPrompt);
    ExpectStored(L"monitorc", L"1");
    EXPECT_TRUE(dialogs_.errors.empty());
}

TEST_F(Preferences, StoredPlaylist_UsableEntriesRestoredInOrderFirstSelected) {
    const std::wstring a = folder_.File(L"a.ppt");
    const std::wstring b = folder_.File(L"b.pps");
    ASSERT_TRUE(::CreateDirectoryW((folder_ / L"folder.ppt").c_str(), nullptr));
    // A line after the first that starts with a blank is not trimmed on its own, so it names no
    // file; only the ends of the whole value are trimmed.
    Store(L"files", L" \r\n" + folder_ / L"gone.ppt" + L"\r\n" + a + L"\r\n " + b + L"\r\n" +
                        folder_ / L"folder.ppt" + L"\r\n" + b + L"\r\n" + a + L" \r\n");
    CreateForm();
    EXPECT_EQ(form_->Playlist().Paths(), (std::vector<std::wstring>{a, b, a}));
    EXPECT_EQ(form_->Playlist().SelectedIndex(), 0);
    // The selection event applied the command-enable rule.
    EXPECT_TRUE(IsCommandEnabled(IDC_ToolButton7));
    EXPECT_TRUE(IsCommandEnabled(IDC_ToolButton3));

    // The next close stores the playlist without the dropped entries.
    Close();
    ExpectStored(L"files", a + L"\r\n" + b + L"\r\n" + a);
}

// Left out even where folding its ".." parts names a file, as the lookup does.
TEST_F(Preferences, StoredTextNoFileNameCanBe_LeftOutAsAGoneFile) {
    const std::wstring a = folder_.File(L"a.ppt");
    folder_.File(L"player.exe");
    const std::wstring sneaking = folder_ / L"x\" /P \"\\..\\";
    Store(L"files", a + L"\r\n" + sneaking + L"a.ppt");
    Store(L"pptexfile", sneaking + L"player.exe");
    CreateForm();
    EXPECT_EQ(form_->Playlist().Paths(), (std::vector<std::wstring>{a}));
    EXPECT_EQ(ProgramPath(), kProgramPrompt);
}

TEST_F(Preferences, StoredPlaylist_NoPathExists_EmptyNothingSelectedNoMessage) {
    Store(L"files", folder_ / L"x.ppt" + L"\r\n" + folder_ / L"y.ppt");
    CreateForm();
    EXPECT_EQ(form_->Playlist().Count(), 0);
    EXPECT_EQ(form_->Playlist().SelectedIndex(), -1);
    EXPECT_FALSE(IsCommandEnabled(IDC_ToolButton7));
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_TRUE(dialogs_.errors.empty());
}

TEST_F(Preferences, MonitorValue_MatchesTable) {
    const struct {
        const wchar_t* stored;
        int monitor;
    } cases[] = {{L"2", 2},  {L" 2", 2},  {L"2 ", 1}, {L"3", 1}, {L"0", 1},
                 {L"-1", 1}, {L"abc", 1}, {L"", 1},   {L"$2", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.stored)));
        Store(L"monitorc", c.stored);
        Restart();
        EXPECT_EQ(MonitorNumber(), c.monitor);
    }
}

TEST_F(Preferences, ProgramValue_TrimmedAndAppliedOnlyWhenAFile) {
    const std::wstring program = folder_.File(L"pptview.exe");
    Store(L"pptexfile", L"\t " + program + L"  ");
    CreateForm();
    EXPECT_EQ(ProgramPath(), program);

    Store(L"pptexfile", folder_.Path());
    Restart();
    EXPECT_EQ(ProgramPath(), kProgramPrompt);
}

TEST_F(Preferences, ValueOfWrongType_ErrorShownEarlierValuesKeptStartGoesOn) {
    const std::wstring a = folder_.File(L"a.ppt");
    Store(L"files", a);
    Store(L"monitorc", L"2");
    StoreNumber(L"pptexfile");

    CreateForm();
    EXPECT_EQ(dialogs_.errors, (std::vector<std::wstring>{L"Invalid data type for 'pptexfile'"}));
    EXPECT_EQ(form_->Playlist().Paths(), (std::vector<std::wstring>{a}));
    EXPECT_EQ(ProgramPath(), kProgramPrompt);
    EXPECT_EQ(MonitorNumber(), 1);  // stored after the bad value: not restored
    EXPECT_TRUE(::IsWindow(form_->Handle()));
    EXPECT_TRUE(IsCommandEnabled(IDC_ToolButton7));
}

// The entries are read while the window is made: their error still reaches the window's Error box.
TEST_F(Preferences, FilesOfWrongType_ErrorShownNothingRestoredStartGoesOn) {
    Store(L"pptexfile", folder_.File(L"pptview.exe"));
    StoreNumber(L"files");
    CreateForm();
    EXPECT_EQ(dialogs_.errors, (std::vector<std::wstring>{L"Invalid data type for 'files'"}));
    EXPECT_TRUE(form_->Playlist().Paths().empty());
    EXPECT_EQ(ProgramPath(), kProgramPrompt);  // read after the entries: not restored
    EXPECT_TRUE(::IsWindow(form_->Handle()));
}

// Deletes the preferences key the first time the program path is read from TntEdit1, that is
// after "files" has been written and before "pptexfile" is: the system then refuses the write.
LRESULT CALLBACK DeleteKeyOnRead(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR keyPath) {
    if (message == WM_GETTEXT || message == WM_GETTEXTLENGTH) {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(keyPath));
        ::RemoveWindowSubclass(hwnd, &DeleteKeyOnRead, id);
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

TEST_F(Preferences, WriteRefusedAtClose_ErrorShownAndWindowStaysOpen) {
    CreateForm();
    ASSERT_TRUE(::SetWindowSubclass(Control(IDC_TntEdit1), &DeleteKeyOnRead, 1,
                                    reinterpret_cast<DWORD_PTR>(keyPath_.c_str())));
    Close();
    EXPECT_EQ(dialogs_.errors, (std::vector<std::wstring>{L"Failed to set data for 'pptexfile'"}));
    EXPECT_FALSE(form_->IsClosed());
    EXPECT_TRUE(::IsWindow(form_->Handle()));

    // The window can be closed again, and that close stores everything.
    Close();
    EXPECT_TRUE(form_->IsClosed());
    ExpectStored(L"monitorc", L"1");
}

TEST_F(Preferences, Restart_PlaylistProgramAndMonitorSurvive) {
    const std::wstring a = folder_.File(L"one show.ppt");
    const std::wstring b = folder_.File(L"zw\u00F6lf \u6F14\u793A.pptx");
    const std::wstring program = folder_.File(L"pptview.exe");
    CreateForm();
    form_->Playlist().AppendAll({a, b});
    SetProgramPath(program);
    SetMonitorNumber(2);
    Close();
    ASSERT_TRUE(form_->IsClosed());
    ExpectStored(L"files", a + L"\r\n" + b);
    ExpectStored(L"pptexfile", program);
    ExpectStored(L"monitorc", L"2");

    Restart();
    EXPECT_EQ(form_->Playlist().Paths(), (std::vector<std::wstring>{a, b}));
    EXPECT_EQ(form_->Playlist().SelectedIndex(), 0);
    EXPECT_EQ(ProgramPath(), program);
    EXPECT_EQ(MonitorNumber(), 2);
}

}  // namespace
}  // namespace tidewell::testing
