#include "classroom_commands.h"

#include <QAction>
#include <QStatusBar>

#include "ckelnodoc.h"
#include "ckelnoview.h"
#include "classroom_mode.h"
#include "cmainframe.h"
#include "command_ids.h"
#include "prompts.h"

namespace kelno {

namespace {

namespace cmd = command;

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

}  // namespace kelno
