#include "picture_options.h"

#include <charconv>

namespace kelno::cli {

namespace {

bool UsableSize(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

}  // namespace

std::vector<CommandLine::OptionSpec> PictureOptionSpecs() {
    return {{"--size", true},     {"--grid", false},       {"--no-flow", false},
            {"--explain", false}, {"--predict", false},    {"--potentials", false},
            {"--open-newer", false}};
}

std::optional<PictureSize> ParsePictureSize(const std::string& text) {
    const auto cross = text.find_first_of("xX");
    if (cross == std::string::npos) {
        return std::nullopt;
    }
    int width = 0;
    int height = 0;
    const char* end = text.data() + text.size();
    const auto w = std::from_chars(text.data(), text.data() + cross, width);
    const auto h = std::from_chars(text.data() + cross + 1, end, height);
    if (w.ec != std::errc() || w.ptr != text.data() + cross || h.ec != std::errc() ||
        h.ptr != end || !UsableSize(width, height)) {
        return std::nullopt;
    }
    return PictureSize{width, height};
}

PictureSize ViewSize(const std::optional<PictureSize>& asked, const Document& document,
                     const std::string& path) {
    if (asked) {
        return *asked;
    }
    const WindowRect& window = document.windowRect();
    if (UsableSize(window.width(), window.height())) {
        return {static_cast<int>(window.width()), static_cast<int>(window.height())};
    }
    const PictureSize fallback{static_cast<int>(kNewDocumentWindow.width()),
                               static_cast<int>(kNewDocumentWindow.height())};
    PrintError(path + ": ﾌｧｲﾙに記録された窓の大きさ (" + std::to_string(window.width()) + "x" +
               std::to_string(window.height()) + ") は使えないため、" +
               std::to_string(fallback.width) + "x" + std::to_string(fallback.height) +
               " で描きます。");
    return fallback;
}

PictureOptions PictureOptionsOf(const CommandLine& line, const Document& document,
                                LogicalSize extent) {
    PictureOptions options;
    options.showGrid = line.Has("--grid");
    options.hideCurrentFlow = line.Has("--no-flow");
    options.noDiagonalWires = document.noDiagonalWires();
    options.classroom.explainShort = line.Has("--explain");
    options.classroom.hideReadings = line.Has("--predict");
    options.classroom.showPotentials = line.Has("--potentials");
    options.extent = extent;
    return options;
}

}  // namespace kelno::cli
