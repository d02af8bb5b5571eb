// The number in the monitor box keeps naming the monitor the user chose it for, wherever Windows
// lists that monitor now, and the box says which monitor that is; what a number names is stored
// with the preferences, for this computer.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/resource.h"
#include "playback/play_checks.h"
#include "playlist/playlist_view_win32.h"
#include "support/form_fixture.h"
#include "support/window_queries.h"

namespace tidewell::testing {
namespace {

const RECT kDeskPlace{0, 0, 1024, 768};
const RECT kTvPlace{1024, 0, 2944, 1080};
const MonitorEntry kDesk{
    nullptr,
    kDeskPlace,
    {L"\\\\?\\DISPLAY#DEL40B7#1", L"DELL U2412M", 0x10AC, 0x40B7, L"\\\\.\\DISPLAY1", 0, 0}};
const MonitorEntry kTv{
    nullptr,
    kTvPlace,
    {L"\\\\?\\DISPLAY#GSM5B7F#2", L"LG TV", 0x1E6D, 0x5B7F, L"\\\\.\\DISPLAY2", 1024, 0}};
// Another TV where the lobby's was: its place, another make.
const MonitorEntry kStandIn{
    nullptr,
    {1024, 0, 2304, 720},
    {L"\\\\?\\DISPLAY#BNQ7F2B#3", L"BenQ GW2780", 0x09D1, 0x7F2B, L"\\\\.\\DISPLAY2", 1024, 0}};

class MonitorBox : public FormFixture {
  protected:
    void SetUp() override {
        FormFixture::SetUp();
        enumerateMonitors_ = [this] { return listed_; };
    }
    void Start(std::vector<MonitorEntry> listed) {
        listed_ = std::move(listed);
        form_.reset();
        CreateForm(listed_);
    }
    void ChooseByHand(int number) {
        SetMonitorNumber(number);
        ::SendMessageW(form_->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, number),
                       reinterpret_cast<LPARAM>(Control(IDC_TntUpDown1)));
    }
    void ListedNow(std::vector<MonitorEntry> listed) {
        listed_ = std::move(listed);
        ::SendMessageW(form_->Handle(), WM_DISPLAYCHANGE, 32, 0);
    }
    std::wstring Box() const { return TextOf(Control(IDC_MonitorName)); }
    // Where a run goes: one that nobody watches (none: it waits), and one started by hand.
    std::optional<MonitorRect> Unattended() { return form_->Playback().GatherChecks(true).monitor; }
    std::optional<MonitorRect> ByHand() {
        return form_->Playback().GatherChecks(true, false).monitor;
    }

    std::vector<MonitorEntry> listed_;
};

TEST_F(MonitorBox, ChosenNumber_FollowsItsMonitorWaitsForItGoneUntilChosenAgainAcrossStarts) {
    Start({kDesk, kTv});
    ChooseByHand(2);
    EXPECT_EQ(Box(), L"2 - LG TV (1920 x 1080)");

    // Windows lists the TV first now: the number stays, and so does the screen it names.
    ListedNow({kTv, kDesk});
    EXPECT_EQ(MonitorNumber(), 2);
    EXPECT_EQ(Box(), L"2 - LG TV (1920 x 1080)");
    ASSERT_TRUE(Unattended());
    EXPECT_EQ(Unattended()->left, kTvPlace.left);

    // The TV is gone and another monitor has its place: nobody's run waits for the TV, a run
    // started by hand plays on the number's place, and the box says both.
    ListedNow({kDesk, kStandIn});
    EXPECT_EQ(Box(), L"2 - BenQ GW2780 (1280 x 720); LG TV is not connected");
    EXPECT_FALSE(Unattended());
    form_->Playlist().Append({L"C:\\Shows\\Lobby.pptx"});
    EXPECT_EQ(AwaitedByFailedCheck(form_->Playback().GatherChecks(true), L""), L"monitor 2, LG TV");
    ASSERT_TRUE(ByHand());
    EXPECT_EQ(ByHand()->right, 2304);

    // Stored at the close, for this computer: the next start still means the TV by 2.
    ::SendMessageW(form_->Handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(form_->IsClosed());
    Start({kDesk, kStandIn});
    EXPECT_EQ(MonitorNumber(), 2);
    EXPECT_EQ(Box(), L"2 - BenQ GW2780 (1280 x 720); LG TV is not connected");

    // Choosing 2 again is the user's word that 2 is the monitor listed there now.
    ChooseByHand(2);
    EXPECT_EQ(Box(), L"2 - BenQ GW2780 (1280 x 720)");
    EXPECT_TRUE(Unattended());
}

}  // namespace
}  // namespace tidewell::testing
