#include "playback/monitor_identity.h"

#include <gtest/gtest.h>

#include <vector>

#include "playback/remembered_monitors.h"

namespace tidewell {
namespace {

// Monitors as Windows describes them: a TV and a desk monitor with EDIDs, two of one model told
// apart only by their device paths, and monitors of a virtual display without any EDID.
const MonitorIdentity kDesk{
    L"\\\\?\\DISPLAY#DEL40B7#1", L"DELL U2412M", 0x10AC, 0x40B7, L"\\\\.\\DISPLAY1", 0, 0};
const MonitorIdentity kTv{L"\\\\?\\DISPLAY#GSM5B7F#2", L"LG TV", 0x1E6D, 0x5B7F,
                          L"\\\\.\\DISPLAY2",          1920,     0};
const MonitorIdentity kTvOtherPort{L"\\\\?\\DISPLAY#GSM5B7F#7", L"LG TV", 0x1E6D, 0x5B7F,
                                   L"\\\\.\\DISPLAY3",          1920,     0};
const MonitorIdentity kTwinA{L"\\\\?\\DISPLAY#SAM0F00#A", L"SAMSUNG", 0x4C2D, 0x0F00,
                             L"\\\\.\\DISPLAY2",          1920,       0};
const MonitorIdentity kTwinB{L"\\\\?\\DISPLAY#SAM0F00#B", L"SAMSUNG", 0x4C2D, 0x0F00,
                             L"\\\\.\\DISPLAY3",          3840,       0};
const MonitorIdentity kWine1{
    L"\\\\?\\DISPLAY#Default_Monitor#0000", L"Display1", 0, 0, L"\\\\.\\DISPLAY1", 0, 0};
const MonitorIdentity kWine2{
    L"\\\\?\\DISPLAY#Default_Monitor#0001", L"Display2", 0, 0, L"\\\\.\\DISPLAY2", 1024, 0};
const MonitorIdentity kGdiOnly{L"", L"", 0, 0, L"\\\\.\\DISPLAY2", 1024, 0};
const MonitorIdentity kGdiOnlyElsewhere{L"", L"", 0, 0, L"\\\\.\\DISPLAY5", 1024, 0};

using Monitors = std::vector<MonitorIdentity>;
constexpr auto kByNumber = MonitorFound::ByNumber, kByIdentity = MonitorFound::ByIdentity,
               kGone = MonitorFound::Gone, kNone = MonitorFound::None;

// Monitor 2 was chosen while Windows listed `before`; now it lists `after`. Where the show goes
// (the place in `after`, for a run that nobody watches; none: it waits) and the play log's line.
TEST(LocateMonitor, ListsBeforeAndAfter_WhereTheShowGoesAndWhatIsLogged) {
    struct Case {
        const char* name;
        Monitors before, after;
        MonitorFound found;
        std::size_t index;
        std::wstring logged;  // the moved line; the waiting text when gone
    };
    // clang-format off
    const Case cases[] = {
        {"same order", {kDesk, kTv}, {kDesk, kTv}, kByIdentity, 1, L""},
        {"renumbered", {kDesk, kTv}, {kTv, kDesk}, kByIdentity, 0, L"monitor 2 is LG TV (now listed first)"},
        {"a monitor before it unplugged", {kDesk, kTv, kWine1}, {kTv, kWine1}, kByIdentity, 0, L"monitor 2 is LG TV (now listed first)"},
        {"cable in another port", {kDesk, kTv}, {kDesk, kWine2, kTvOtherPort}, kByIdentity, 2, L"monitor 2 is LG TV (now listed third)"},
        {"gone, another in its place", {kDesk, kTv}, {kDesk, kWine2}, kGone, 0, L"monitor 2, LG TV, is not connected"},
        {"gone, nothing in its place", {kDesk, kTv}, {kDesk}, kGone, 0, L"monitor 2, LG TV, is not connected"},
        {"twins swapped", {kDesk, kTwinA, kTwinB}, {kDesk, kTwinB, kTwinA}, kByIdentity, 2, L"monitor 2 is SAMSUNG (now listed third)"},
        {"twin gone, the other stays", {kDesk, kTwinA, kTwinB}, {kDesk, kTwinB}, kByIdentity, 1, L""},
        {"no EDID, by device path", {kWine1, kWine2}, {kWine2, kWine1}, kByIdentity, 0, L"monitor 2 is Display2 (now listed first)"},
        {"no EDID, gone", {kWine1, kWine2}, {kWine1, kGdiOnly}, kGone, 0, L"monitor 2, Display2, is not connected"},
        {"GDI name only, found by it", {kDesk, kGdiOnly}, {kGdiOnly, kDesk}, kByIdentity, 0, L"monitor 2 is DISPLAY2 (now listed first)"},
        {"GDI name only, lost: the number", {kDesk, kGdiOnly}, {kDesk, kGdiOnlyElsewhere}, kByNumber, 1, L""},
        {"nothing remembered", {kDesk}, {kTv, kDesk}, kByNumber, 1, L""},
        {"nothing remembered, no such place", {kDesk}, {kTv}, kNone, 0, L""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RememberedMonitors remembered;
        if (c.before.size() >= 2) remembered.Remember(2, c.before[1]);
        const MonitorPlace place = LocateMonitor(2, remembered.Of(2), c.after);
        EXPECT_EQ(place.found, c.found);
        std::wstring logged;
        if (place.found == kGone) logged = MonitorNotConnectedText(2, *remembered.Of(2));
        if (place.Moved(2)) logged = MonitorMovedLine(2, c.after[place.index], place.index);
        EXPECT_EQ(logged, c.logged);
        if (place.found == kByIdentity || place.found == kByNumber) {
            EXPECT_EQ(place.index, c.index);
        }
    }
}

// The remembered monitors of one computer as the preferences hold them, and back; lines that an
// older or a hand-edited value holds wrong are left out, names that would break a line do not.
TEST(RememberedMonitors, RoundTrip_NamesWithBreaksKeptWhole_BadLinesLeftOut) {
    RememberedMonitors remembered;
    remembered.Remember(2, kTv);
    remembered.Remember(1, kDesk);
    MonitorIdentity odd = kGdiOnly;
    odd.name = L"Lobby\tTV\r\nleft";
    odd.left = -1920;
    remembered.Remember(3, odd);
    const RememberedMonitors back = RememberedMonitors::Decode(remembered.Encode());
    EXPECT_EQ(back.Of(1), kDesk);
    EXPECT_EQ(back.Of(2), kTv);
    ASSERT_TRUE(back.Of(3));
    EXPECT_EQ(back.Of(3)->name, L"Lobby TV  left");
    EXPECT_EQ(back.Of(3)->left, -1920);

    const RememberedMonitors bad = RememberedMonitors::Decode(
        L"0\tp\tn\t0\t0\tg\t0\t0\r\n2\tp\tn\t70000\t0\tg\t0\t0\r\n4\tp\tn\t0\t0\tg\t0\r\n"
        L"x\tp\tn\t0\t0\tg\t0\t0\r\n5\tp\tn\t1\t2\tg\t3\t4");
    EXPECT_EQ(bad, RememberedMonitors::Decode(L"5\tp\tn\t1\t2\tg\t3\t4"));
    EXPECT_TRUE(bad.Of(5));
    EXPECT_EQ(RememberedMonitors::Decode(L""), RememberedMonitors());
}

}  // namespace
}  // namespace tidewell
