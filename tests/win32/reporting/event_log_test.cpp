#include "reporting/event_log_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../unit/reporting/event_log_scenarios.h"

namespace tidewell {
namespace {

// The event's text as Event Viewer shows it: the program's message table, with the inserts. Two
// more inserts than the event has stand ready, so that a text that asks for more shows them
// rather than reading past the list.
std::wstring ShownText(const EventLogEntry& event) {
    const std::wstring spare = L"<not given>";
    std::vector<DWORD_PTR> inserts;
    for (const std::wstring& text : event.inserts) inserts.push_back(DWORD_PTR(text.c_str()));
    inserts.insert(inserts.end(), 2, DWORD_PTR(spare.c_str()));
    wchar_t text[2048] = {};
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                         ::GetModuleHandleW(nullptr), static_cast<DWORD>(event.id), 0x409, text,
                         2048, reinterpret_cast<va_list*>(inserts.data()));
    return std::wstring(text, length);
}

// Every event the runs write has a whole sentence in the program, which holds each of its inserts
// and asks for no more; the log takes it (Wine keeps no log to read back).
TEST(EventLog, EveryEventIsAWholeSentenceOfTheProgramsOwn) {
    for (const auto& scenario : testing::EventLogScenarios()) {
        SCOPED_TRACE(scenario.name);
        for (const EventLogEntry& event : scenario.expected) {
            const std::wstring shown = ShownText(event);
            SCOPED_TRACE(static_cast<unsigned>(event.id));
            ASSERT_FALSE(shown.empty()) << "no message " << static_cast<unsigned>(event.id);
            for (const std::wstring& insert : event.inserts) {
                EXPECT_NE(shown.find(insert), std::wstring::npos)
                    << std::string(insert.begin(), insert.end());
            }
            EXPECT_EQ(shown.find(L"<not given>"), std::wstring::npos);
            EXPECT_TRUE(WriteToEventLog(event));
        }
    }
}

}  // namespace
}  // namespace tidewell
