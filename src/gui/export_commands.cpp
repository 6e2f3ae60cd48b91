#include "export_commands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>

#include "ckelnodoc.h"
#include "ckelnoview.h"
#include "command_ids.h"
#include "picture_formats.h"
#include "prompts.h"

namespace kelno {

namespace {

// The editor's word for a picture that memory did not suffice for.
constexpr const char* kCannotMakePicture = "画像を作れませんでした (ﾒﾓﾘが足りません)。";

QString MessageOf(const ExportResult& result) {
    return result.failure == ExportResult::Failure::OutOfMemory
               ? QString::fromUtf8(kCannotMakePicture)
               : QString::fromStdString(result.error);
}

QString DottedExtension(const ExportFormat& format) {
    const std::string_view extension = format.extension();
    return QStringLiteral(".") +
           QString::fromUtf8(extension.data(), static_cast<qsizetype>(extension.size()));
}

}  // namespace

std::span<const ExportCommand> ExportCommands() {
    static const std::array<ExportCommand, 2> commands{{
        {command::kSaveBitmap, &BitmapFormat(), "ﾋﾞｯﾄﾏｯﾌﾟで保存", false},
        {command::kSaveSvg, &SvgFormat(), "SVG で保存", true},
    }};
    return commands;
}

ExportResult ExportView(const ExportFormat& format, Document& document, CKelnoView& view,
                        const QString& path) {
    return format.Write(document, view.PictureExport(), QFile::encodeName(path).toStdString());
}

ExportCommandRunner::ExportCommandRunner(CKelnoDoc& document, CKelnoView& view, Prompts& prompts,
                                         QObject* parent)
    : QObject(parent), document_(document), view_(view), prompts_(prompts) {}

QString ExportCommandRunner::SuggestedPath(const ExportFormat& format) const {
    if (document_.pathName().isEmpty()) {
        return QDir::current().filePath(document_.title() + DottedExtension(format));
    }
    const QFileInfo file(document_.pathName());
    return file.dir().filePath(file.completeBaseName() + DottedExtension(format));
}

void ExportCommandRunner::Run(const ExportCommand& command) {
    const ExportFormat& format = *command.format;
    QString path =
        prompts_.ChooseExportFile(QString::fromUtf8(command.dialogTitle), format,
                                  command.besideDocument ? SuggestedPath(format) : QString());
    if (path.isEmpty()) {
        return;
    }
    if (command.besideDocument && !path.endsWith(DottedExtension(format), Qt::CaseInsensitive)) {
        path += DottedExtension(format);
    }
    document_.WaitForAnalysis();  // the picture shows the readings of the circuit it shows
    const ExportResult result = ExportView(format, document_.core(), view_, path);
    if (result.ok()) {
        return;
    }
    QString message = MessageOf(result);
    // Every failure names the file, also one that happened before any writing.
    if (command.besideDocument && !message.contains(path)) {
        message = path + QStringLiteral("\n") + message;
    }
    prompts_.ShowError(message);
}

}  // namespace kelno
