#pragma once

#include <string>

namespace standin {

// How many slides a PowerPoint (.pptx, .ppsx) deck holds, read from the names in its zip folder
// (ppt/slides/slideN.xml) without unpacking anything; 0 for a file that is no such deck (an older
// .ppt, an empty file the tests made) or that cannot be read.
int CountDeckSlides(const std::wstring& path);

}  // namespace standin
