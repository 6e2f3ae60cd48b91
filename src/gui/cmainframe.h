#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "io/kel_file.h"

class QLabel;
class QMenu;
class QToolBar;

namespace kelno {

struct CommandState;

// The main window: the menus, the tool bar, the status bar with its message pane and the
// four indicators, the title, the recent files in the File menu and dropped files. It only
// shows commands; CKelnoApp connects them to the document and the view.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr const char* kAppTitle = "Kelno 電気回路";
    static constexpr const char* kIdleMessage = "ﾚﾃﾞｨ";
    static constexpr const char* kPendingMessage = "計算中…";

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The action of a command number (see command_ids.h), or nullptr.
    QAction* command(int id) const;
    // Enables the commands and sets their check marks by the command table's rules.
    void ApplyCommandState(const CommandState& state);
    QToolBar* toolBar() const { return toolBar_; }

    void SetView(QWidget* view);
    // "name - Kelno 電気回路", with the modified mark while there is unsaved work.
    void SetDocumentTitle(const QString& documentName);

    // The message pane: a text until the next one, back after a command's prompt has been
    // shown over it; "ﾚﾃﾞｨ" when there is none.
    void SetMessageText(const QString& text);
    QString messageText() const;
    // While the readings wait for an analysis the pane says "計算中…"; the texts sent
    // meanwhile are held, and the last of them shows when the readings are up to date.
    void SetReadingsPending(bool pending);
    // The pane beside it that says what a press or a release where the mouse is would do.
    void SetPromptText(const QString& text);
    QString promptText() const;

    // The recent files in the File menu, newest first, as menu texts; none shows the
    // disabled "最新のﾌｧｲﾙ".
    void SetRecentFiles(const QStringList& menuTexts);

    // The window's screen rectangle, frame included, as documents store it.
    WindowRect windowRect() const;
    // Gives the window the size of a stored rectangle without moving it, as far as it
    // fits on the screen; a window that would reach past the screen is moved back onto it.
    // The size is the window's with its frame, so a window shown later is fitted again once
    // the desktop has given it its frame.
    void ApplyWindowSize(const WindowRect& rect);

    // Asked before the window closes (also when the session ends); false keeps it open.
    void SetCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }

signals:
    void recentFileChosen(int index);
    void filesDropped(const QStringList& paths);
    // A click on the text of the message pane.
    void messageClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateCommands();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    QAction* AddRecentAction(int index);
    // The size the desktop's frame adds around the window.
    QSize FrameDecoration() const;
    void FitToWantedSize();
    void RefitWhenFrameChanged();

    std::map<int, QAction*> commands_;
    QMenu* fileMenu_ = nullptr;
    QAction* recentPlaceholder_ = nullptr;
    std::vector<QAction*> recentActions_;
    QToolBar* toolBar_ = nullptr;
    QLabel* messagePane_ = nullptr;
    QLabel* promptPane_ = nullptr;
    // The text the pane holds until the next one, which a command's prompt shown while the
    // mouse is over its button or menu item only covers for that time.
    QString message_;
    bool readingsPending_ = false;
    QString heldMessage_;
    std::function<bool()> closeGuard_;
    // The stored size with frame, and the frame it was fitted with.
    std::optional<QSize> wantedFrameSize_;
    QSize fittedDecoration_;
};

}  // namespace kelno
