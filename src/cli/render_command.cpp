#include <QGuiApplication>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "circuit_rendering.h"
#include "cli_files.h"
#include "command_line.h"
#include "commands.h"
#include "document/export_format.h"
#include "kel_loading.h"
#include "picture_formats.h"
#include "picture_options.h"
#include "render/classroom_layers.h"
#include "render/short_explanation.h"

namespace kelno::cli {

namespace {

// "OUT.png|OUT.bmp|…" and ".png、.bmp、…" from the list of picture formats.
std::string Joined(const std::string& before, const std::string& separator) {
    std::string text;
    for (const ExportFormat* format : PictureFormats()) {
        if (!text.empty()) {
            text += separator;
        }
        text += before + std::string(format->extension());
    }
    return text;
}

std::string Usage() {
    return "使い方: kelno-cli render FILE.kel -o " + Joined("OUT.", "|") +
           " [--size WxH] [--grid] [--no-flow] [--explain] [--predict] [--potentials] "
           "[--open-newer]";
}

const ExportFormat* FormatOfOutput(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const ExportFormat* format : PictureFormats()) {
        if (extension == "." + std::string(format->extension())) {
            return format;
        }
    }
    return nullptr;
}

// A failure to make the picture names the file first; a failure to write it names the file
// itself, though a bitmap's message names it first all the same.
std::string MessageOf(const ExportFormat& format, const ExportResult& result,
                      const std::string& path) {
    using Failure = ExportResult::Failure;
    if (result.failure == Failure::OutOfMemory ||
        (result.failure == Failure::CannotWrite && &format != &BitmapFormat())) {
        return result.error;
    }
    return path + ": " + result.error;
}

// Qt's own notes (a missing runtime folder and the like) are not for the tool's users, who
// get a message of the tool for every failure; only Qt's fatal errors pass.
void KeepQtQuiet(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "kelno-cli: Qt: %s\n",
                     qPrintable(qFormatLogMessage(type, context, message)));
    }
}

// Rendering needs fonts but no display: Qt runs on its off-screen platform whatever the
// environment asks for.
struct QuietQt {
    QuietQt() : previous(qInstallMessageHandler(KeepQtQuiet)) {}
    ~QuietQt() { qInstallMessageHandler(previous); }
    QuietQt(const QuietQt&) = delete;
    QuietQt& operator=(const QuietQt&) = delete;
    QtMessageHandler previous;
};

// Rendering needs fonts but no display: Qt runs on its off-screen platform whatever the
// environment asks for.
struct OffscreenApplication {
    QuietQt quiet;  // first in, last out: also covers the application's own shutdown
    int argc = 3;
    char name[10] = "kelno-cli";
    char option[10] = "-platform";
    char platform[10] = "offscreen";
    char* argv[4] = {name, option, platform, nullptr};
    QGuiApplication application{argc, argv};
};

}  // namespace

int RunRender(const std::vector<std::string>& args) {
    CommandLine line;
    std::string error;
    std::vector<CommandLine::OptionSpec> specs = PictureOptionSpecs();
    specs.push_back({"-o", true});
    if (!line.Parse(args, specs, error) ||
        line.words().size() != 1 || !line.Has("-o")) {
        PrintError(error.empty() ? Usage() : error);
        return kExitUsage;
    }
    const std::string& in = line.words()[0];
    const std::string out = *line.Value("-o");
    const ExportFormat* format = FormatOfOutput(out);
    if (format == nullptr) {
        PrintError("出力ﾌｧｲﾙの拡張子は " + Joined(".", "、") + " のいずれかにしてください: " + out);
        return kExitUsage;
    }
    std::optional<PictureSize> size;
    if (const auto text = line.Value("--size")) {
        size = ParsePictureSize(*text);
        if (!size) {
            PrintError("--size は 幅x高さ の形で、それぞれ 1 から " +
                       std::to_string(kMaxPictureSide) +
                       " までの画素数を指定してください: " + *text);
            return kExitUsage;
        }
    }

    LoadedKel loaded;
    if (!LoadKel(in, line.Has("--open-newer"), loaded)) {
        return kExitBadInput;
    }
    Document& document = loaded.document;
    const PictureSize pictureSize = ViewSize(size, document, in);
    const QSize viewSize(pictureSize.width, pictureSize.height);

    OffscreenApplication qt;
    const ViewScale scale = ViewScale::FromDpi(kScreenDpi, kScreenDpi);
    const PictureOptions picture = PictureOptionsOf(line, document, LogicalExtent(viewSize, scale));
    const AnalysisReport& analysis = document.lastAnalysis();
    // With --explain the message says where the short is, as the status bar does.
    const std::string shortText =
        picture.classroom.explainShort
            ? ShortStatusLine(document.circuit(), analysis.outcome, analysis.failingLoop)
            : std::string(kShortStatusText) + " (回路に有限の解がありません)";
    bool reported = false;
    const StatusSink status = [&](std::string_view) {
        if (!reported) {
            PrintError(in + ": " + shortText);
            reported = true;
        }
    };

    ExportOptions options;
    options.settings = PictureSettings(document, picture);
    options.width = pictureSize.width;
    options.height = pictureSize.height;
    options.scale = scale;
    options.dpi = kScreenDpi;
    options.status = status;
    options.title = std::filesystem::path(out).filename().string();
    std::vector<std::uint8_t> bytes;
    ExportResult result = format->Encode(document, options, bytes);
    if (result.ok() && !WriteOutputFile(out, bytes, result.error)) {
        result.failure = ExportResult::Failure::CannotWrite;
    }
    if (!result.ok()) {
        PrintError(MessageOf(*format, result, out));
        return kExitBadInput;
    }
    return kExitOk;
}

}  // namespace kelno::cli
