#include "cmainframe.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QUrl>
#include <algorithm>

#include "command_icons.h"
#include "command_ids.h"
#include "command_table.h"

namespace kelno {

namespace {

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The indicators of the status bar after the message pane, as the platform knows them.
constexpr const char* kIndicators[] = {"ｶﾅ", "CAP", "NUM", "SCRL"};

QStringList LocalFiles(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    return paths;
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(Text(kAppTitle));
    setWindowIcon(ApplicationIcon());
    CreateCommands();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    setAcceptDrops(true);
    resize(900, 650);
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::command(int id) const {
    const auto found = commands_.find(id);
    return found == commands_.end() ? nullptr : found->second;
}

void CMainFrame::CreateCommands() {
    for (const Command& row : Commands()) {
        auto* action = new QAction(MenuTextOf(row), this);
        action->setStatusTip(Text(row.prompt));
        action->setToolTip(Text(row.tip));
        action->setIcon(IconAtBothSizes(row.icon));
        // Menus show check marks and texts; the pictures belong to the tool bar.
        action->setIconVisibleInMenu(false);
        action->setData(row.id);
        action->setCheckable(row.checkable);
        if (!row.keys.isEmpty()) {
            action->setShortcuts(row.keys);
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);  // keys work also while the menu bar is hidden
        }
        commands_[row.id] = action;
    }
    recentPlaceholder_ = command(command::kRecentFile1);
    recentPlaceholder_->setEnabled(false);
}

void CMainFrame::ApplyCommandState(const CommandState& state) {
    for (const Command& row : Commands()) {
        QAction* action = command(row.id);
        if (row.enabled != nullptr) {
            action->setEnabled(row.enabled(state));
        }
        if (row.checked != nullptr) {
            action->setChecked(row.checked(state));
        }
    }
}

void CMainFrame::CreateMenus() {
    for (const MenuPopup& popup : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(Text(popup.title));
        for (const int id : popup.items) {
            if (id == 0) {
                menu->addSeparator();
            } else {
                menu->addAction(command(id));
            }
        }
        if (popup.items.front() == command::kFileNew) {
            fileMenu_ = menu;
        }
    }
}

void CMainFrame::CreateToolBar() {
    toolBar_ = new QToolBar(Text(FindCommand(command::kViewToolBar)->tip), this);
    toolBar_->setObjectName(QStringLiteral("ToolBar"));
    toolBar_->setIconSize(QSize(16, 15));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const int id : ToolBarButtons()) {
        if (id == 0) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(command(id));
        }
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);

    QAction* toggle = command(command::kViewToolBar);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, toolBar_, &QToolBar::setVisible);
    connect(toolBar_, &QToolBar::visibilityChanged, toggle, [this, toggle](bool visible) {
        // The tool bar also hides with a minimised window; only its own state counts.
        if (!isMinimized()) {
            toggle->setChecked(visible);
        }
    });
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    messagePane_ = new QLabel(Text(kIdleMessage), bar);
    bar->addWidget(messagePane_, 1);
    // The prompt has a pane of its own: hovering must not wipe an element's summary.
    promptPane_ = new QLabel(bar);
    promptPane_->setMinimumWidth(
        promptPane_->fontMetrics().horizontalAdvance(QString(18, QChar(0x3042))));
    bar->addPermanentWidget(promptPane_);
    for (const char* indicator : kIndicators) {
        auto* pane = new QLabel(Text(indicator), bar);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(Text(indicator)) + 12);
        // The lock keys' state is not known here: the panes show their names greyed.
        pane->setEnabled(false);
        bar->addPermanentWidget(pane);
    }
    QAction* toggle = command(command::kViewStatusBar);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, bar, &QStatusBar::setVisible);
    bar->installEventFilter(this);
}

// A message covers the pane's label, so its clicks reach the bar itself; the indicators pass
// theirs on to it as well.
bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == statusBar() && event->type() == QEvent::MouseButtonRelease) {
        const auto* click = static_cast<QMouseEvent*>(event);
        const QWidget* under = statusBar()->childAt(click->position().toPoint());
        const bool onIndicator =
            qobject_cast<const QLabel*>(under) != nullptr && under != messagePane_;
        if (click->button() == Qt::LeftButton && !onIndicator) {
            emit messageClicked();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::SetView(QWidget* view) {
    setCentralWidget(view);
    view->setFocus();
}

void CMainFrame::SetDocumentTitle(const QString& documentName) {
    setWindowTitle(documentName + QStringLiteral("[*] - ") + Text(kAppTitle));
}

// --- The message pane ----------------------------------------------------------------------

void CMainFrame::SetMessageText(const QString& text) {
    if (readingsPending_) {
        heldMessage_ = text;
        return;
    }
    message_ = text;
    if (statusBar()->currentMessage() != text) {
        statusBar()->showMessage(text);
    }
}

void CMainFrame::SetReadingsPending(bool pending) {
    if (readingsPending_ == pending) {
        return;
    }
    if (pending) {
        heldMessage_ = message_;
        SetMessageText(Text(kPendingMessage));
        readingsPending_ = true;
    } else {
        readingsPending_ = false;
        SetMessageText(heldMessage_);
    }
}

// A command's prompt goes when the mouse leaves its button or menu item; the text that was
// there before it comes back instead of "ﾚﾃﾞｨ".
bool CMainFrame::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip && !message_.isEmpty() &&
        static_cast<QStatusTipEvent*>(event)->tip().isEmpty()) {
        statusBar()->showMessage(message_);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::SetPromptText(const QString& text) {
    promptPane_->setText(text);
}

QString CMainFrame::promptText() const {
    return promptPane_->text();
}

QString CMainFrame::messageText() const {
    const QString message = statusBar()->currentMessage();
    return message.isEmpty() ? messagePane_->text() : message;
}

// --- Recent files --------------------------------------------------------------------------

void CMainFrame::SetRecentFiles(const QStringList& menuTexts) {
    for (QAction* action : recentActions_) {
        fileMenu_->removeAction(action);
        delete action;
    }
    recentActions_.clear();
    recentPlaceholder_->setVisible(menuTexts.isEmpty());
    for (int index = 0; index < menuTexts.size(); ++index) {
        QAction* action = AddRecentAction(index);
        action->setText(menuTexts[index]);
    }
}

QAction* CMainFrame::AddRecentAction(int index) {
    auto* action = new QAction(this);
    action->setData(command::kRecentFile1 + index);
    action->setStatusTip(recentPlaceholder_->statusTip());
    connect(action, &QAction::triggered, this, [this, index] { emit recentFileChosen(index); });
    // Entries go where the placeholder stands, in order.
    const QList<QAction*> items = fileMenu_->actions();
    const qsizetype at = items.indexOf(recentPlaceholder_) + 1 + index;
    fileMenu_->insertAction(at < items.size() ? items[at] : nullptr, action);
    recentActions_.push_back(action);
    return action;
}

// --- Window rectangle ----------------------------------------------------------------------

WindowRect CMainFrame::windowRect() const {
    const QRect frame = frameGeometry();
    return {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
}

void CMainFrame::ApplyWindowSize(const WindowRect& rect) {
    if (rect.width() <= 0 || rect.height() <= 0) {
        return;
    }
    const auto limit = [](std::int64_t length) {
        return static_cast<int>(std::min<std::int64_t>(length, QWIDGETSIZE_MAX));
    };
    wantedFrameSize_ = QSize(limit(rect.width()), limit(rect.height()));
    FitToWantedSize();
}

QSize CMainFrame::FrameDecoration() const {
    return frameGeometry().size() - geometry().size();
}

void CMainFrame::FitToWantedSize() {
    fittedDecoration_ = FrameDecoration();
    const QRect available = screen()->availableGeometry();
    const QSize minimum = minimumSizeHint();
    const auto fit = [](int wanted, int least, int most) {
        return std::clamp(wanted, least, std::max(least, most));
    };
    resize(fit(wantedFrameSize_->width() - fittedDecoration_.width(), minimum.width(),
               available.width() - fittedDecoration_.width()),
           fit(wantedFrameSize_->height() - fittedDecoration_.height(), minimum.height(),
               available.height() - fittedDecoration_.height()));
    // Kept on the screen: a window that now reaches past its edge moves back.
    QRect frame = frameGeometry();
    frame.setSize(size() + fittedDecoration_);
    const int dx = std::min(0, available.right() - frame.right());
    const int dy = std::min(0, available.bottom() - frame.bottom());
    if (dx != 0 || dy != 0) {
        move(std::max(available.left(), frame.left() + dx),
             std::max(available.top(), frame.top() + dy));
    }
}

// A window opened with a file before it was shown got its size without the desktop's
// frame, which arrives with the first move or resize after showing.
void CMainFrame::RefitWhenFrameChanged() {
    if (wantedFrameSize_ && FrameDecoration() != fittedDecoration_) {
        FitToWantedSize();
    }
}

void CMainFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    RefitWhenFrameChanged();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    RefitWhenFrameChanged();
}

// --- Closing and dropped files -------------------------------------------------------------

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (closeGuard_ && !closeGuard_()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QStringList paths = LocalFiles(event->mimeData());
    if (paths.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    activateWindow();
    emit filesDropped(paths);
}

}  // namespace kelno
