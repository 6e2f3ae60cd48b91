// kelno-cli draw-calls: the drawing of a circuit as the list of calls a surface receives,
// one per line, so that two builds of the program (the desktop's and the WebAssembly one)
// can be compared call for call without rasterising anything.
#include <cstdio>

#include "command_line.h"
#include "commands.h"
#include "kel_loading.h"
#include "picture_options.h"
#include "render/recording_surface.h"

namespace kelno::cli {

namespace {

constexpr const char* kUsage =
    "使い方: kelno-cli draw-calls FILE.kel [--size WxH] [--grid] [--no-flow] [--explain] "
    "[--predict] [--potentials] [--open-newer]";

// The pictures of the desktop tool are made for a 96 dpi screen.
constexpr double kScreenDpi = 96.0;

}  // namespace

int RunDrawCalls(const std::vector<std::string>& args) {
    CommandLine line;
    std::string error;
    if (!line.Parse(args, PictureOptionSpecs(), error) || line.words().size() != 1) {
        PrintError(error.empty() ? kUsage : error);
        return kExitUsage;
    }
    std::optional<PictureSize> size;
    if (const auto text = line.Value("--size")) {
        size = ParsePictureSize(*text);
        if (!size) {
            PrintError("--size は 幅x高さ の形で指定してください: " + *text);
            return kExitUsage;
        }
    }
    const std::string& in = line.words()[0];
    LoadedKel loaded;
    if (!LoadKel(in, line.Has("--open-newer"), loaded)) {
        return kExitBadInput;
    }
    const PictureSize view = ViewSize(size, loaded.document, in);
    const ViewScale scale = ViewScale::FromDpi(kScreenDpi, kScreenDpi);
    const LogicalSize extent{scale.PixelsToUnitsX(view.width), scale.PixelsToUnitsY(view.height)};
    const DrawSettings settings =
        PictureSettings(loaded.document, PictureOptionsOf(line, loaded.document, extent));

    RecordingSurface surface(scale, Color{255, 255, 255});
    std::string status;
    DrawCircuit(loaded.document.circuit(), surface, settings,
                [&](std::string_view text) { status = text; });
    std::fputs(surface.Listing().c_str(), stdout);
    if (!status.empty()) {
        std::printf("status \"%s\"\n", status.c_str());
    }
    return kExitOk;
}

}  // namespace kelno::cli
