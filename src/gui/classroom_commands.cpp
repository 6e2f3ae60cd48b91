#include "classroom_commands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>

#include "ckelnodoc.h"
#include "ckelnoview.h"
#include "classroom_mode.h"
#include "cmainframe.h"
#include "command_ids.h"
#include "prompts.h"
#include "svg_export.h"

namespace kelno {

namespace {

namespace cmd = command;

const QString kSvgExtension = QStringLiteral(".svg");

bool ExplainsShort(const QString& message) {
    return message.startsWith(QString::fromUtf8(kShortStatusText.data(),
                                                static_cast<qsizetype>(kShortStatusText.size())));
}

}  // namespace

ClassroomCommands::ClassroomCommands(CMainFrame& frame, CKelnoDoc& document, CKelnoView& view,
                                     ClassroomMode& classroom, Prompts& prompts)
    : QObject(&frame),
      frame_(frame),
      document_(document),
      view_(view),
      classroom_(classroom),
      prompts_(prompts) {
    ConnectCommands();
    connect(&classroom_, &ClassroomMode::changed, this, &ClassroomCommands::UpdateCommands);
    connect(&frame_, &CMainFrame::messageClicked, this, &ClassroomCommands::OnMessageClicked);
    connect(frame_.statusBar(), &QStatusBar::messageChanged, this,
            &ClassroomCommands::FollowMessage);
    UpdateCommands();
}

void ClassroomCommands::ConnectCommands() {
    connect(frame_.command(cmd::kPredictMode), &QAction::triggered, &classroom_,
            &ClassroomMode::SetPredictMode);
    connect(frame_.command(cmd::kRevealReadings), &QAction::triggered, &classroom_,
            [this] { classroom_.Reveal(); });
    connect(frame_.command(cmd::kShowPotentials), &QAction::triggered, &classroom_,
            &ClassroomMode::SetShowPotentials);
    connect(frame_.command(cmd::kMarkUnjoinedEnds), &QAction::triggered, &classroom_,
            &ClassroomMode::SetMarkUnjoinedEnds);
    connect(frame_.command(cmd::kWarnLargeCurrent), &QAction::triggered, &classroom_,
            &ClassroomMode::SetWarnLargeCurrent);
    connect(frame_.command(cmd::kSaveSvg), &QAction::triggered, this, &ClassroomCommands::SaveSvg);
}

// The commands' check marks and states follow the classroom through the command table.
void ClassroomCommands::UpdateCommands() {
    FollowMessage(frame_.messageText());
}

void ClassroomCommands::OnMessageClicked() {
    if (ExplainsShort(frame_.messageText())) {
        classroom_.SelectFailingLoop();
    }
}

void ClassroomCommands::FollowMessage(const QString& text) {
    QStatusBar* bar = frame_.statusBar();
    if (ExplainsShort(text) && classroom_.explainShort()) {
        bar->setCursor(Qt::PointingHandCursor);
        bar->setToolTip(QString::fromUtf8(kShortTip));
    } else {
        bar->unsetCursor();
        bar->setToolTip({});
    }
}

// --- SVG ---------------------------------------------------------------------------------

QString ClassroomCommands::SuggestedSvgPath() const {
    if (document_.pathName().isEmpty()) {
        return QDir::current().filePath(document_.title() + kSvgExtension);
    }
    const QFileInfo file(document_.pathName());
    return file.dir().filePath(file.completeBaseName() + kSvgExtension);
}

void ClassroomCommands::SaveSvg() {
    QString path = prompts_.ChooseSvgFileToSave(SuggestedSvgPath());
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(kSvgExtension, Qt::CaseInsensitive)) {
        path += kSvgExtension;
    }
    QString error;
    if (!SaveCircuitSvg(path, document_.core().circuit(), view_.drawSettings(), view_.size(), error,
                        view_.logicalDpiX())) {
        // Every failure names the file, also one that happened before any writing.
        if (!error.contains(path)) {
            error = path + QStringLiteral("\n") + error;
        }
        prompts_.ShowError(error);
    }
}

}  // namespace kelno
