#pragma once

#include <string>
#include <string_view>

namespace zvm {

// The output file named from the source: its folder (or `folder`, when given) and base name, with
// the ending of the preset's form (".mp4", or ".mpg" for the VCD row). A name that would be the
// source itself gets "-converted" before its ending. Text only: nothing is looked up on disk. No
// name (empty) for a row the list lacks.
std::string SuggestOutputName(std::string_view source, int preset, std::string_view folder = {});

} // namespace zvm
