#include "reporting/event_log_entries.h"

namespace tidewell {
namespace {

std::wstring MonitorText(const RunEventRecord& record) {
    if (record.monitor <= 0) return L"-";
    const std::wstring number = std::to_wstring(record.monitor);
    return record.monitorName.empty() ? number : number + L" (" + record.monitorName + L")";
}

}  // namespace

std::vector<EventLogEntry> EventLogFeed::Take(const RunEventRecord& record) {
    std::vector<EventLogEntry> events;
    const auto add = [&](EventId id, EventLevel level, std::vector<std::wstring> rest) {
        rest.insert(rest.begin(), MonitorText(record));
        events.push_back(EventLogEntry{id, level, std::move(rest)});
    };
    if (record.event == RunEvent::RunStart) {
        monitorGone_ = shareAway_ = false;
    } else if (monitorGone_ && !record.monitorGone) {
        monitorGone_ = false;
        add(EventId::MonitorBack, EventLevel::Information, std::vector<std::wstring>{});
    }
    switch (record.event) {
        case RunEvent::RunStart:
            add(EventId::RunStarted, EventLevel::Information, {record.detail});
            break;
        case RunEvent::RunEnd:
            add(EventId::RunEnded, EventLevel::Information, std::vector<std::wstring>{});
            break;
        case RunEvent::ShowSkipped:
            add(EventId::ShowSkipped, EventLevel::Warning, {record.path, record.detail});
            break;
        case RunEvent::ShowTimeout:
            add(EventId::ShowGivenUp, EventLevel::Warning, {record.path, record.detail});
            break;
        case RunEvent::Error:
            if (record.path.empty()) {
                add(EventId::RunError, EventLevel::Error, {record.detail});
            } else {
                add(EventId::ShowError, EventLevel::Error, {record.path, record.detail});
            }
            break;
        case RunEvent::AlertStart:
            add(EventId::AnnouncementStarted, EventLevel::Information, {record.path});
            break;
        case RunEvent::AlertEnd:
            add(EventId::AnnouncementEnded, EventLevel::Information, {record.path});
            break;
        case RunEvent::Waiting:
            if (record.monitorGone && !monitorGone_) {
                monitorGone_ = true;
                add(EventId::MonitorGone, EventLevel::Warning, {record.detail});
            }
            break;
        case RunEvent::ShowStart: {
            if (record.share == ShareAnswer::Away && !shareAway_) {
                shareAway_ = true;
                // An ISO time: ASCII only.
                const std::wstring copyTime(record.copyTime.begin(), record.copyTime.end());
                add(EventId::ShareAway, EventLevel::Warning, {record.path, copyTime});
            } else if (record.share == ShareAnswer::Answered && shareAway_) {
                shareAway_ = false;
                add(EventId::ShareBack, EventLevel::Information, {record.path});
            }
            break;
        }
        default:
            break;
    }
    return events;
}

}  // namespace tidewell
