#pragma once
// What a monitor is, rather than where Windows lists it today. The order of the list changes with a
// reboot with the TV off, a driver or Windows update, or a cable in another port; the monitor's
// display target and its EDID do not, so a number the user chose is looked up by them first.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tidewell {

struct MonitorIdentity {
    // The display target's device path ("\\?\DISPLAY#GSM5B7F#..."): tells two monitors of one
    // model apart. Empty when Windows gives none.
    std::wstring devicePath;
    // The monitor's name as Windows gives it (the EDID's name, "LG TV", where there is one).
    std::wstring name;
    // The EDID's maker and product codes; 0 when the monitor has no EDID (virtual displays).
    unsigned maker = 0;
    unsigned product = 0;
    // Weaker hints: the GDI device ("\\.\DISPLAY3") and the top-left corner, which a new
    // arrangement or another port changes.
    std::wstring gdiName;
    int left = 0;
    int top = 0;

    bool operator==(const MonitorIdentity&) const = default;
};

enum class MonitorFound {
    ByNumber,    // nothing told it apart: the number's place in today's list, as always
    ByIdentity,  // the remembered monitor, wherever it is listed now
    Gone,        // the remembered monitor is not connected (whatever has the number's place)
    None,        // nothing remembered and no monitor at the number's place
};

struct MonitorPlace {
    MonitorFound found = MonitorFound::None;
    std::size_t index = 0;  // in today's list, for ByNumber and ByIdentity
    // Listed at another place than its number says (ByIdentity only).
    bool Moved(int number) const {
        return found == MonitorFound::ByIdentity && index + 1 != static_cast<std::size_t>(number);
    }
};

// Where monitor `number` (from 1) is in `listed`, today's list: the monitor `remembered` when
// there is one and it tells monitors apart, by its device path, then its EDID (two of one model by
// GDI device and position); a remembered monitor known only by its GDI device is found by that or
// else by the number.
MonitorPlace LocateMonitor(int number, const std::optional<MonitorIdentity>& remembered,
                           const std::vector<MonitorIdentity>& listed);

// The name a person knows the monitor by: Windows' name, else its GDI device's.
std::wstring MonitorTitle(const MonitorIdentity& monitor);

// "third", for where a monitor is listed now.
std::wstring OrdinalWord(std::size_t place);

// The play log's line when the remembered monitor is listed elsewhere now:
// "monitor 2 is LG TV (now listed third)".
std::wstring MonitorMovedLine(int number, const MonitorIdentity& monitor, std::size_t index);

// What a run with nobody at the desk waits for: "monitor 2, LG TV, is not connected".
std::wstring MonitorNotConnectedText(int number, const MonitorIdentity& monitor);
// The play log's line when the run's monitor is connected again: "monitor 2 is connected again".
std::wstring MonitorConnectedAgainLine(int number);

// What the monitor box says beside its number: "2 - LG TV (1920 x 1080)"; with the remembered
// monitor gone, which monitor has the number's place (a play by hand goes there) and that the
// remembered one is not connected. `listedTitle` empty: no monitor has the place.
std::wstring MonitorBoxText(int number, const std::wstring& listedTitle, int width, int height,
                            const std::wstring& goneTitle);

}  // namespace tidewell
