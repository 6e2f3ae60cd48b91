#pragma once

#include <optional>
#include <string>
#include <vector>

#include "command_line.h"
#include "document/picture_settings.h"

namespace kelno::cli {

// Pictures larger than this on a side are refused: a damaged file's window size must not
// make the tool allocate gigabytes.
inline constexpr int kMaxPictureSide = 8192;

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The options of a picture that render and draw-calls share, as CommandLine specs.
std::vector<CommandLine::OptionSpec> PictureOptionSpecs();

// "WxH" with two whole numbers from 1 to kMaxPictureSide.
std::optional<PictureSize> ParsePictureSize(const std::string& text);

// The size of the view: the one asked for, or the window size kept in the file (with a
// note on stderr when that one cannot be used).
PictureSize ViewSize(const std::optional<PictureSize>& asked, const Document& document,
                     const std::string& path);

// The grid, arrows and classroom options given on the command line, over `extent`, with
// the option of right-angled wires that `document`'s file keeps: the tool holds no other.
PictureOptions PictureOptionsOf(const CommandLine& line, const Document& document,
                                LogicalSize extent);

}  // namespace kelno::cli
