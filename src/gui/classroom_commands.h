#pragma once

#include <QObject>
#include <QString>

namespace kelno {

class CKelnoDoc;
class CKelnoView;
class CMainFrame;
class ClassroomMode;
class Prompts;

// The classroom's commands in the editor window: predict mode and revealing its readings
// (F5 and a tool-bar button), the potentials, and a click on the "Short" text of the status
// bar, which selects the loop that made the analysis fail.
class ClassroomCommands : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kShortTip = "クリックするとショートしている輪を選択します";

    ClassroomCommands(CMainFrame& frame, CKelnoDoc& document, CKelnoView& view,
                      ClassroomMode& classroom, Prompts& prompts);

private:
    void ConnectCommands();
    void UpdateCommands();
    void OnMessageClicked();
    // The pane invites a click while it explains a short.
    void FollowMessage(const QString& text);

    CMainFrame& frame_;
    CKelnoDoc& document_;
    CKelnoView& view_;
    ClassroomMode& classroom_;
    Prompts& prompts_;
};

}  // namespace kelno
