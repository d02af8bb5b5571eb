#include "reporting/event_log_win32.h"

#include <windows.h>

#include <vector>

#include "common/unique_handle_win32.h"

namespace tidewell {
namespace {

WORD EventType(EventLevel level) {
    switch (level) {
        case EventLevel::Error:
            return EVENTLOG_ERROR_TYPE;
        case EventLevel::Warning:
            return EVENTLOG_WARNING_TYPE;
        case EventLevel::Information:
            break;
    }
    return EVENTLOG_INFORMATION_TYPE;
}

}  // namespace

bool WriteToEventLog(const EventLogEntry& entry) noexcept {
    try {
        // Kept for the process's life.
        static const UniqueEventSource source(::RegisterEventSourceW(nullptr, kEventSourceName));
        if (!source) return false;
        std::vector<LPCWSTR> inserts;
        for (const std::wstring& text : entry.inserts) inserts.push_back(text.c_str());
        return ::ReportEventW(source.get(), EventType(entry.level), 0, static_cast<DWORD>(entry.id),
                              nullptr, static_cast<WORD>(inserts.size()), 0, inserts.data(),
                              nullptr) != FALSE;
    } catch (...) {
        return false;
    }
}

}  // namespace tidewell
