#include "playlist/entry_settings.h"

#include <gtest/gtest.h>

#include <string>

namespace tidewell {
namespace {

// Each line read and written again: `written` is what is stored back (empty when the line is
// refused), `refusedItem` the item a refusal names.
struct LineCase {
    std::wstring line;
    std::wstring written;
    std::wstring refusedItem;
    std::wstring summary;
};

TEST(EntryLine, ReadAndWritten_AsTheTableSays) {
    const LineCase cases[] = {
        {L"C:\\Shows\\Plain.pptx", L"C:\\Shows\\Plain.pptx", L"", L""},
        {L"C:\\Shows\\Breakfast.pptx\tdays=Mon-Fri\thours=07:00-10:30\tshowfor=300\tadvance=10",
         L"C:\\Shows\\Breakfast.pptx\tdays=Mon-Fri\thours=07:00-10:30\tshowfor=300\tadvance=10",
         L"", L"Mon-Fri 07:00-10:30 \u00B7 5 min \u00B7 next slide 10 s"},
        // Unknown items are kept as they stood, after the known ones; names ignore letter case.
        {L"C:\\a.ppt\tcolour=Blue\tSHOWFOR=90\tflag", L"C:\\a.ppt\tshowfor=90\tcolour=Blue\tflag",
         L"", L"90 s"},
        {L"C:\\a.ppt\tdays=sun,sat,mon\t\tfrom=2026-12-01\tuntil=2026-12-24",
         L"C:\\a.ppt\tdays=Mon,Sat,Sun\tfrom=2026-12-01\tuntil=2026-12-24", L"",
         L"Mon,Sat,Sun from 2026-12-01 until 2026-12-24"},
        {L"C:\\a.ppt\tdays=Fri-Mon\thours=22:00-02:00",
         L"C:\\a.ppt\tdays=Mon,Fri-Sun\thours=22:00-02:00", L"", L"Mon,Fri-Sun 22:00-02:00"},
        {L"C:\\a.ppt\thours=7:05-24:00", L"C:\\a.ppt\thours=07:05-24:00", L"", L"07:05-24:00"},
        {L"C:\\a.ppt\tdays=Mon-Fry", L"", L"days=Mon-Fry", L""},
        {L"C:\\a.ppt\tdays=", L"", L"days=", L""},
        {L"C:\\a.ppt\tdays=Mon,", L"", L"days=Mon,", L""},
        {L"C:\\a.ppt\thours=24:00-10:00", L"", L"hours=24:00-10:00", L""},
        {L"C:\\a.ppt\thours=07:00-07:00", L"", L"hours=07:00-07:00", L""},
        {L"C:\\a.ppt\thours=07:60-08:00", L"", L"hours=07:60-08:00", L""},
        {L"C:\\a.ppt\tfrom=2026-02-30", L"", L"from=2026-02-30", L""},
        {L"C:\\a.ppt\tuntil=26-12-24", L"", L"until=26-12-24", L""},
        {L"C:\\a.ppt\tfrom=2026-12-24\tuntil=2026-12-01", L"", L"until=2026-12-01", L""},
        {L"C:\\a.ppt\tshowfor=0", L"", L"showfor=0", L""},
        {L"C:\\a.ppt\tadvance=-5", L"", L"advance=-5", L""},
        {L"C:\\a.ppt\tadvance=2147484", L"", L"advance=2147484", L""},
    };
    for (const LineCase& c : cases) {
        const ParsedEntryLine parsed = ParseEntryLine(c.line);
        ASSERT_EQ(parsed.entry.has_value(), c.refusedItem.empty()) << c.line;
        if (!parsed.entry) {
            EXPECT_EQ(parsed.error->item, c.refusedItem) << c.line;
            // The stored preferences lose nothing of such a line either.
            EXPECT_EQ(FormatEntryLine(ParseEntryLineKeepingAll(c.line)), c.line) << c.line;
            continue;
        }
        EXPECT_EQ(FormatEntryLine(*parsed.entry), c.written) << c.line;
        EXPECT_EQ(ParseEntryLine(c.written).entry, parsed.entry) << c.line;
        EXPECT_EQ(SettingsSummary(parsed.entry->settings), c.summary) << c.line;
    }
}

}  // namespace
}  // namespace tidewell
