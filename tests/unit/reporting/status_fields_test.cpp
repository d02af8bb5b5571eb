#include "reporting/status_fields.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

// Each document, and the state and position read from it ("-" when it is not a status at all).
TEST(StatusFields, OnlyTheOutermostKeysAsTextOrWholeNumbers) {
    const struct {
        const char* document;
        const char* state;
        const char* position;
    } cases[] = {
        {R"({"state": "playing", "position": 3})", "playing", "3"},
        {R"({"detail": {"state": "stopped", "position": 9}, "state": "resting"})", "resting", ""},
        {R"({"list": [{"state": "x"}], "position": 2})", "", "2"},
        {R"({"state": "playing", "state": null})", "", ""},
        {R"({"state": 7, "position": "3"})", "", ""},
        {R"({"position": -1})", "", ""},
        {R"({"position": 2.5})", "", ""},
        {R"({"state": "a\nb\u2028c"})", "a b c", ""},
        {R"([{"state": "playing"}])", "-", "-"},
        {R"({"state": "play)", "-", "-"},
        {R"({"state": "playing"} {})", "-", "-"},
        {R"("playing")", "-", "-"},
    };
    for (const auto& c : cases) {
        const std::optional<StatusFields> fields = ReadStatusFields(c.document);
        EXPECT_EQ(fields ? fields->state : "-", c.state) << c.document;
        EXPECT_EQ(fields ? fields->position : "-", c.position) << c.document;
    }
}

}  // namespace
}  // namespace tidewell
