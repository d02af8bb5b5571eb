// Real decks are whole; what a share can hold half-way (cut short, a changed byte, a password, an
// empty file) is named before PowerPoint would meet it with a dialog.
#include "copies/presentation_check_win32.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <functional>

#include "common/unique_handle_win32.h"
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(FindingText(CheckPresentationBytes(c.bytes)), c.finding);
    }
}

}  // namespace
}  // namespace tidewell::testing
