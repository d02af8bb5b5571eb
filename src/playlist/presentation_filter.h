#pragma once

#include <string>
#include <string_view>

namespace tidewell {

// The tests that the folder scan and the shell drop put a path through before appending it.
// The extension test is a plain search for "*" + extension in the dialog's whole filter text,
// so it also takes anything that matches the start of a pattern (".pp", a lone ".", ".ppt;")
// and refuses longer extensions such as ".pptm". That looseness is long-standing behaviour that
// users' folders may rely on, so it is kept as it is.

// The part of the path from its last "." on, the dot included; empty when there is no dot or a
// "\" or ":" follows it (the dot then belongs to a folder or drive, not to the file name).
std::wstring ExtensionOf(std::wstring_view path);

// Upper-cases the letters a to z only; every other character is left as it is.
std::wstring UpperAsciiLetters(std::wstring_view text);

// True when the (already upper-cased) extension is not empty and "*" followed by it occurs in
// the (already upper-cased) filter text. Upper-casing is the caller's, because the folder scan
// and the shell drop do it differently.
bool ExtensionMatchesFilter(std::wstring_view upperExtension, std::wstring_view upperFilter);

// The folder browser returns a drive's root as C:\ with its backslash; one trailing backslash is
// dropped so that the one put between the folder and each name is not doubled.
std::wstring WithoutTrailingBackslash(std::wstring_view folder);

// True when "~$" occurs anywhere in the path: office programs name their lock files so, and a
// folder of that name is treated the same.
bool ContainsLockFileMark(std::wstring_view path);

}  // namespace tidewell
