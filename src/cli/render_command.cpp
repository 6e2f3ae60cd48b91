#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "circuit_rendering.h"
#include "command_line.h"
#include "commands.h"
#include "io/bmp_writer.h"
#include "io/file_bytes.h"
#include "kel_loading.h"
#include "picture_options.h"
#include "render/classroom_layers.h"
#include "render/short_explanation.h"
#include "svg_export.h"

namespace kelno::cli {

namespace {

constexpr const char* kUsage =
    "使い方: kelno-cli render FILE.kel -o OUT.png|OUT.bmp|OUT.svg|OUT.pdf [--size WxH] [--grid] "
    "[--no-flow] [--explain] [--predict] [--potentials] [--open-newer]";

enum class OutputKind { Png, Bmp, Svg, Pdf };

std::optional<OutputKind> KindOfOutput(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".png") {
        return OutputKind::Png;
    }
    if (extension == ".bmp") {
        return OutputKind::Bmp;
    }
    if (extension == ".svg") {
        return OutputKind::Svg;
    }
    if (extension == ".pdf") {
        return OutputKind::Pdf;
    }
    return std::nullopt;
}

bool Save(const std::string& path, const QByteArray& bytes) {
    std::string error;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    if (!WriteFileAtomically(path, {data, static_cast<std::size_t>(bytes.size())}, error)) {
        PrintError(error);
        return false;
    }
    return true;
}

bool SavePicture(const std::string& path, OutputKind kind, const QImage& image) {
    if (image.isNull()) {
        PrintError("画像を作るためのﾒﾓﾘが足りません。");
        return false;
    }
    if (kind == OutputKind::Bmp) {
        std::string error;
        if (!WriteBmp24(path, ToRgbImage(image), error)) {
            PrintError(path + ": " + error);
            return false;
        }
        return true;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        PrintError(path + ": PNG 形式に変換できませんでした。");
        return false;
    }
    return Save(path, bytes);
}

bool SaveSvg(const std::string& path, const Document& document, const DrawSettings& settings,
             QSize size, const StatusSink& status) {
    const QByteArray svg = RenderCircuitSvg(document.circuit(), settings, size, status);
    if (svg.isEmpty()) {
        PrintError(path + ": SVG の画像を作れませんでした。");
        return false;
    }
    return Save(path, svg);
}

bool SavePdf(const std::string& path, const Document& document, const DrawSettings& settings,
             const StatusSink& status) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Kelno"));
        writer.setTitle(QString::fromStdString(std::filesystem::path(path).filename().string()));
        writer.setPageSize(QPageSize(QPageSize::A4));
        std::string error;
        if (!PrintCircuitPage(writer, document.circuit(), settings, status, error)) {
            PrintError(path + ": " + error);
            return false;
        }
    }
    return Save(path, bytes);
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
        PrintError(error.empty() ? kUsage : error);
        return kExitUsage;
    }
    const std::string& in = line.words()[0];
    const std::string out = *line.Value("-o");
    const std::optional<OutputKind> kind = KindOfOutput(out);
    if (!kind) {
        PrintError("出力ﾌｧｲﾙの拡張子は .png、.bmp、.svg、.pdf のいずれかにしてください: " + out);
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
    const Document& document = loaded.document;
    const PictureSize pictureSize = ViewSize(size, document, in);
    const QSize viewSize(pictureSize.width, pictureSize.height);

    OffscreenApplication qt;
    const PictureOptions picture = PictureOptionsOf(
        line, LogicalExtent(viewSize, ViewScale::FromDpi(kScreenDpi, kScreenDpi)));
    const DrawSettings settings = PictureSettings(document, picture);
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

    bool saved = false;
    switch (*kind) {
        case OutputKind::Pdf:
            saved = SavePdf(out, document, settings, status);
            break;
        case OutputKind::Svg:
            saved = SaveSvg(out, document, settings, viewSize, status);
            break;
        default:
            saved = SavePicture(out, *kind,
                                RenderCircuitImage(document.circuit(), settings, viewSize, status));
            break;
    }
    return saved ? kExitOk : kExitBadInput;
}

}  // namespace kelno::cli
