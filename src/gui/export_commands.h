#pragma once

#include <QObject>
#include <QString>
#include <span>

#include "document/export_format.h"

namespace kelno {

class CKelnoDoc;
class CKelnoView;
class CMainFrame;
class Prompts;

// An export command of the File menu: the picture of the view in one format.
struct ExportCommand {
    int id;
    const ExportFormat* format;
    const char* dialogTitle;
    // Suggests a name beside the document, makes sure the name chosen ends with the
    // format's extension and names the file in every failure. The bitmap command asks
    // without a name and reports what the writing says, as it always has.
    bool besideDocument;
};

// "ﾋﾞｯﾄﾏｯﾌﾟで保存" and "SVG で保存".
std::span<const ExportCommand> ExportCommands();

// Writes the picture of the view of `document` as it stands into `path` in `format`,
// replacing an existing file only once the picture is complete.
ExportResult ExportView(const ExportFormat& format, Document& document, CKelnoView& view,
                        const QString& path);

// The export commands in the editor window: the file dialog, then the picture.
class ExportCommandRunner : public QObject {
    Q_OBJECT

public:
    ExportCommandRunner(CKelnoDoc& document, CKelnoView& view, Prompts& prompts,
                        QObject* parent = nullptr);

    void Run(const ExportCommand& command);

private:
    QString SuggestedPath(const ExportFormat& format) const;

    CKelnoDoc& document_;
    CKelnoView& view_;
    Prompts& prompts_;
};

}  // namespace kelno
