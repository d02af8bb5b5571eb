#pragma once
// What the overview page takes from a screen's status file: the values of the document's own keys,
// read without building the document. Ten thousand screens are read every minute, and a document
// of maps and strings for each of them cost the page more than everything else it does.
#include <optional>
#include <string>
#include <string_view>

namespace tidewell {

// Each a value of the document's top level, as text: a string made plain (no control character),
// or for `monitor`, `position` and `count` a whole number not below zero in digits; empty for any
// other value, and when the key is missing. A key given twice counts with its last value.
struct StatusFields {
    std::string computer, user, version, state, detail, monitor, monitorName, presentation,
        position, count, since, updated, nextShow, source, copyTime, lastError, lastErrorTime;
};

// None when the text is not one JSON object.
std::optional<StatusFields> ReadStatusFields(std::string_view document);

}  // namespace tidewell
