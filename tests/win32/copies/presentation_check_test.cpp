// Real decks are whole; what a share can hold half-way (cut short, a changed byte, a password, an
// empty file) is named before PowerPoint would meet it with a dialog.
#include "copies/presentation_check_win32.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <functional>

#include "common/unique_handle_win32.h"
#include "copies/zip_layout.h"
#include "support/temp_folder.h"
#include "support/test_presentations.h"

namespace tidewell::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Cuts the deck `keep` bytes after the start of the data of the named entry.
Bytes CutInside(Bytes deck, std::string_view entry, std::size_t keep) {
    deck.resize(FindBytes(deck, entry) + entry.size() + keep);
    return deck;
}

Bytes ChangeInside(Bytes deck, std::string_view entry, std::size_t at) {
    deck[FindBytes(deck, entry) + entry.size() + at] ^= 0x5A;
    return deck;
}

Bytes Replace(Bytes deck, std::string_view from, std::string_view to) {
    std::copy(to.begin(), to.end(), deck.begin() + FindBytes(deck, from));
    return deck;
}

Bytes ReplaceAll(Bytes deck, std::string_view from, std::string_view to) {
    for (std::size_t at; (at = FindBytes(deck, from)) != std::string_view::npos;) {
        std::copy(to.begin(), to.end(), deck.begin() + at);
    }
    return deck;
}

std::uint32_t U32At(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

void PutU32(Bytes& b, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The end record of a deck without ZIP64 records, and the directory record of the named entry.
std::size_t EndRecord(const Bytes& deck) {
    return FindBytes(deck, "PK\x05\x06");
}

std::size_t DirectoryRecord(const Bytes& deck, std::string_view name) {
    std::size_t at = U32At(deck, EndRecord(deck) + 16);
    while (std::string_view(reinterpret_cast<const char*>(&deck[at + 46]),
                            deck[at + 28] | deck[at + 29] << 8) != name) {
        at += 46 + (deck[at + 28] | deck[at + 29] << 8) + (deck[at + 30] | deck[at + 31] << 8) +
              (deck[at + 32] | deck[at + 33] << 8);
    }
    return at;
}

// The directory names the entry `times` times, every record pointing at its one local header.
Bytes NamedOften(Bytes deck, std::string_view name, int times) {
    const std::size_t at = DirectoryRecord(deck, name);
    const Bytes record(deck.begin() + at, deck.begin() + at + 46 + name.size());
    for (int i = 1; i < times; ++i) deck.insert(deck.begin() + at, record.begin(), record.end());
    const std::size_t end = EndRecord(deck);
    for (const std::size_t count : {end + 8, end + 10}) {
        const int entries = deck[count] | deck[count + 1] << 8;
        deck[count] = static_cast<std::uint8_t>(entries + times - 1);
        deck[count + 1] = static_cast<std::uint8_t>((entries + times - 1) >> 8);
    }
    PutU32(deck, end + 12, U32At(deck, end + 12) + (times - 1) * record.size());
    return deck;
}

// Adds to a field of the entry's directory record: 20 its packed size, 24 its size.
Bytes AddToField(Bytes deck, std::string_view name, std::size_t field, std::uint32_t more) {
    const std::size_t at = DirectoryRecord(deck, name) + field;
    PutU32(deck, at, U32At(deck, at) + more);
    return deck;
}

// A compound file holding the named streams, as an encrypted Office Open XML deck is made.
Bytes CompoundWith(std::initializer_list<const wchar_t*> streams) {
    TempFolder folder;
    const std::wstring path = folder.File(L"made.pptx");
    {
        UniqueCom<IStorage> storage;
        EXPECT_HRESULT_SUCCEEDED(::StgCreateStorageEx(
            path.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, STGFMT_STORAGE, 0,
            nullptr, nullptr, IID_IStorage, reinterpret_cast<void**>(storage.put())));
        for (const wchar_t* name : streams) {
            UniqueCom<IStream> stream;
            storage.get()->CreateStream(name, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                        stream.put());
            stream.get()->Write("encrypted", 9, nullptr);
        }
    }
    return ReadBytes(path);
}

TEST(PresentationCheck, DecksAndWhatGoesWrongWithThem_FindingNamesIt) {
    const Bytes pptx = ReadBytes(TestPresentation(L"Welcome.pptx"));
    const Bytes ppt = ReadBytes(TestPresentation(L"Welcome.ppt"));
    const Bytes zip64 = ReadBytes(TestPresentation(L"Welcome-zip64.pptx"));
    ASSERT_FALSE(pptx.empty());
    ASSERT_FALSE(zip64.empty());
    ASSERT_FALSE(ppt.empty());
    // The Current User stream's token of a file without and with a password.
    const std::string_view plainToken("\x5F\xC0\x91\xE3", 4), encryptedToken("\xDF\xC4\xD1\xF3", 4);
    const struct {
        const char* file;
        Bytes bytes;
        std::wstring finding;
    } cases[] = {
        {"Welcome.pptx", pptx, L""},
        {"Menu.pptx", ReadBytes(TestPresentation(L"Menu.pptx")), L""},
        {"Welcome.ppt", ppt, L""},
        {"pptx cut in a slide", CutInside(pptx, "ppt/slides/slide2.xml", 200),
         L"not a whole presentation: slide2.xml is cut short"},
        {"pptx without its last byte", Bytes(pptx.begin(), pptx.end() - 1),
         L"not a whole presentation: it is cut short"},
        {"pptx with a byte of a slide changed", ChangeInside(pptx, "ppt/slides/slide1.xml", 300),
         L"not a whole presentation: slide1.xml is damaged"},
        {"pptx with ZIP64 end records", zip64, L""},
        {"pptx cut short in its ZIP64 end record", Bytes(zip64.begin(), zip64.end() - 70),
         L"not a whole presentation: it is cut short"},
        // The locator's offset of the ZIP64 record, and the record's count of entries.
        {"pptx whose ZIP64 locator points far past the end", ChangeInside(zip64, "PK\x06\x07", 11),
         L"not a whole presentation: it is cut short"},
        {"pptx whose ZIP64 record miscounts its entries", ChangeInside(zip64, "PK\x06\x06", 28),
         L"not a whole presentation: it is cut short"},
        {"pptx with a password", CompoundWith({L"EncryptionInfo", L"EncryptedPackage"}),
         L"needs a password"},
        {"ppt with a password", Replace(ppt, plainToken, encryptedToken), L"needs a password"},
        {"compound file of something else", CompoundWith({L"WordDocument"}),
         L"not a whole presentation: it holds no PowerPoint Document stream"},
        {"ppt cut in half", Bytes(ppt.begin(), ppt.begin() + ppt.size() / 2),
         L"not a whole presentation: its compound file is damaged or cut short"},
        {"empty file", Bytes(), L"the file is empty"},
        {"text", Bytes(10, 'x'), L"not a whole presentation: it is not a PowerPoint file"},
        // Directories made to keep the check busy, refused before anything is unpacked.
        {"pptx naming a slide 1,000 times", NamedOften(pptx, "ppt/slides/slide1.xml", 1000),
         L"not a whole presentation: slide1.xml is named twice"},
        {"pptx naming two slides alike but for letter case",
         ReplaceAll(pptx, "ppt/slides/slide2.xml", "ppt/slides/SLIDE1.xml"),
         L"not a whole presentation: slide1.xml is named twice"},
        {"pptx whose slide runs into the next entry",
         AddToField(pptx, "ppt/slides/slide1.xml", 20, 100),
         L"not a whole presentation: slide1.xml overlaps slide2.xml.rels"},
        {"pptx promising a slide of a gigabyte",
         AddToField(pptx, "ppt/slides/slide1.xml", 24, 1 << 30),
         L"not a whole presentation: it would unpack to over " + std::to_wstring(kUnpackRatio) +
             L" times its size"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(FindingText(CheckPresentationBytes(c.bytes)), c.finding);
    }
}

// Past its deadline, the check of either kind of deck gives up rather than read on.
TEST(PresentationCheck, DeadlinePassed_CheckGivesUp) {
    for (const wchar_t* deck : {L"Welcome.pptx", L"Welcome.ppt"}) {
        SCOPED_TRACE(deck);
        const auto past = std::chrono::steady_clock::now() - std::chrono::seconds(1);
        EXPECT_EQ(CheckPresentationBytes(ReadBytes(TestPresentation(deck)), past).detail,
                  CheckTookTooLong().detail);
    }
}

}  // namespace
}  // namespace tidewell::testing
