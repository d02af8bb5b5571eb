#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/file_exists_win32.h"
#include "support/temp_folder.h"

namespace tidewell::testing {
namespace {

std::wstring ShortPath(const std::wstring& path) {
    std::wstring shortPath(MAX_PATH * 2, L'\0');
    shortPath.resize(
        ::GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size())));
    return shortPath;
}

std::wstring Upper(std::wstring text) {
    ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::vector<std::wstring> OneByOne(const std::vector<std::wstring>& paths) {
    std::vector<std::wstring> existing;
    for (const std::wstring& path : paths) {
        if (FileExists(path)) existing.push_back(path);
    }
    return existing;
}

// The listed answers must be the lookup's own, on real folders: every kind of path a playlist
// can hold, mixed with the ones the listing leaves to the lookup.
TEST(ExistingFiles, RealFolders_SameAnswersAsOneLookupPerPath) {
    TempFolder root;
    const std::wstring shows = root.AddFolder(L"Lobby Shows");
    const std::wstring other = root.AddFolder(L"other");
    TempFolder shows2;  // a second folder, listed on its own
    const std::wstring deck = root.Touch(L"Lobby Shows\\Opening Deck.pptx");
    const std::wstring mixed = root.Touch(L"Lobby Shows\\MiXeD CaSe.ppt");
    const std::wstring longName = root.Touch(L"Lobby Shows\\a rather long presentation name.pps");
    root.Touch(L"Lobby Shows\\hidden.ppt", FILE_ATTRIBUTE_HIDDEN);
    root.Touch(L"Lobby Shows\\Pr\u00e4sentation.ppt");
    const std::wstring subfolder = root.AddFolder(L"Lobby Shows\\A Folder.ppt");
    root.Touch(L"other\\x.ppt");
    const std::wstring inOther = other + L"\\x.ppt";
    const std::wstring elsewhere = shows2.Touch(L"elsewhere.ppt");

    const std::wstring shortDeck = ShortPath(longName);
    ASSERT_FALSE(shortDeck.empty());
    ASSERT_NE(shortDeck, longName);  // the file system gave it a short alias

    const std::vector<std::wstring> paths = {
        deck,
        Upper(deck),                                // whole path in other case
        shows + L"\\miXed case.PPT",                // name in other case
        shortDeck,                                  // short 8.3 alias
        ShortPath(shows) + L"\\Opening Deck.pptx",  // folder by its short alias
        shows + L"\\hidden.ppt",
        shows + L"\\pr\u00c4sentation.ppt",  // case beyond ASCII
        shows + L"\\Pr\u00e4sentation.ppt",
        subfolder,            // a folder entry is not a file
        shows + L"\\*.pptx",  // wildcards
        shows + L"\\Opening Dec?.pptx",
        shows + L"\\A Folder.*",
        shows + L"\\missing.ppt",                    // a missing file
        root.Path() + L"\\missing folder\\one.ppt",  // a missing folder, twice
        root.Path() + L"\\missing folder\\two.ppt",
        shows + L"\\Opening Deck.pptx.",  // trailing dot and space
        shows + L"\\Opening Deck.pptx ",
        shows + L"\\..\\other\\x.ppt",  // a dot-dot part
        inOther,
        other + L"\\X.PPT",
        elsewhere,
        shows + L"\\nul",  // a device name
        L"",
        deck,  // the same path again
    };
    const std::vector<std::wstring> expected = OneByOne(paths);
    EXPECT_EQ(ExistingFiles(paths), expected);

    // The lookup's answers themselves, so that agreement cannot come from both being wrong.
    auto has = [&](const std::wstring& path) {
        return std::find(expected.begin(), expected.end(), path) != expected.end();
    };
    EXPECT_TRUE(has(deck) && has(Upper(deck)) && has(shortDeck) &&
                has(shows + L"\\miXed case.PPT"));
    EXPECT_FALSE(has(subfolder) || has(shows + L"\\missing.ppt") || has(shows + L"\\A Folder.*"));
    EXPECT_TRUE(has(shows + L"\\*.pptx"));
}

}  // namespace
}  // namespace tidewell::testing
