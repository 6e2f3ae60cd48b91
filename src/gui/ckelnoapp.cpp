#include "ckelnoapp.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QScrollArea>
#include <QSessionManager>

#include "caboutdlg.h"
#include "ckelnodoc.h"
#include "ckelnoview.h"
#include "classroom_commands.h"
#include "classroom_mode.h"
#include "cmainframe.h"
#include "command_ids.h"
#include "command_table.h"
#include "desktop_registration.h"
#include "dialog_prompts.h"
#include "export_commands.h"
#include "messages.h"
#include "print_commands.h"
#include "shell/startup_command.h"

namespace kelno {

namespace {

namespace cmd = command;

QString Canonical(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

QString LocalPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

CKelnoApp::CKelnoApp(Prompts* prompts, Document::Clock clock)
    : desktop_{RegisterDesktopIntegration, UnregisterDesktopIntegration} {
    frame_ = std::make_unique<CMainFrame>();
    if (prompts == nullptr) {
        ownPrompts_ = std::make_unique<DialogPrompts>(frame_.get());
        prompts = ownPrompts_.get();
    }
    prompts_ = prompts;
    document_ = std::make_unique<CKelnoDoc>(*prompts_, std::move(clock));
    classroom_ = std::make_unique<ClassroomMode>(*document_);
    view_ = new CKelnoView(*document_, frame_.get());
    view_->SetClassroom(*classroom_);
    frame_->SetView(view_->CreateScrollArea());
    view_->setFocus();
    printing_ = std::make_unique<PrintCommands>(
        *prompts_, [this](QPagedPaintDevice& device, std::string& error) {
            return view_->PrintPage(device, error);
        });
    exports_ = std::make_unique<ExportCommandRunner>(*document_, *view_, *prompts_);
    ConnectDocument();
    ConnectCommands();
    // A child of the frame, which deletes it.
    new ClassroomCommands(*frame_, *document_, *view_, *classroom_, *prompts_);
    frame_->SetDocumentTitle(document_->title());
    UpdateCommandStates();
}

CKelnoApp::~CKelnoApp() {
    frame_.reset();
}

// --- Wiring --------------------------------------------------------------------------------

void CKelnoApp::ConnectDocument() {
    CKelnoDoc* doc = document_.get();
    CMainFrame* frame = frame_.get();
    doc->SetWindowRectSource([frame] { return frame->windowRect(); });
    connect(doc, &CKelnoDoc::titleChanged, frame, &CMainFrame::SetDocumentTitle);
    connect(doc, &CKelnoDoc::modifiedChanged, frame, &QWidget::setWindowModified);
    connect(doc, &CKelnoDoc::windowRectLoaded, frame, &CMainFrame::ApplyWindowSize);
    // A file opened brings its option of right-angled wires, which holds for the whole program.
    connect(doc, &CKelnoDoc::windowRectLoaded, this,
            [this] { ApplyNoDiagonalWires(document_->core().noDiagonalWires()); });
    connect(doc, &CKelnoDoc::fileUsed, this, &CKelnoApp::RememberFile);
    connect(doc, &CKelnoDoc::repaintRequested, this, &CKelnoApp::UpdateCommandStates);
    connect(doc, &CKelnoDoc::toolChanged, this, &CKelnoApp::UpdateCommandStates);
    connect(doc, &CKelnoDoc::modifiedChanged, this, &CKelnoApp::UpdateCommandStates);
    connect(view_, &CKelnoView::statusTextChanged, frame, &CMainFrame::SetMessageText);
    connect(doc, &CKelnoDoc::readingsPendingChanged, frame, &CMainFrame::SetReadingsPending);
    connect(view_, &CKelnoView::promptChanged, frame, &CMainFrame::SetPromptText);
    connect(view_, &CKelnoView::gridChanged, this, &CKelnoApp::UpdateCommandStates);
    connect(view_, &CKelnoView::editStateChanged, this, &CKelnoApp::UpdateCommandStates);
    connect(view_, &CKelnoView::commandChosen, this, &CKelnoApp::RunCommand);
    connect(classroom_.get(), &ClassroomMode::changed, this, &CKelnoApp::UpdateCommandStates);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CKelnoApp::UpdatePasteState);
    connect(frame, &CMainFrame::recentFileChosen, this, &CKelnoApp::OnOpenRecentFile);
    connect(frame, &CMainFrame::filesDropped, this,
            [this](const QStringList& paths) { OpenFile(paths.constFirst()); });
    frame->SetCloseGuard([doc] { return doc->SaveModified(); });
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(application, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager& manager) {
                    if (manager.allowsInteraction()) {
                        const bool mayEnd = document_->SaveModified();
                        manager.release();
                        if (!mayEnd) {
                            manager.cancel();
                        }
                    }
                });
    }
}

void CKelnoApp::ConnectCommands() {
    CKelnoDoc* doc = document_.get();
    CKelnoView* view = view_;
    CMainFrame* frame = frame_.get();
    const auto on = [frame, this](int id, auto handler) {
        handlers_[id] = handler;
        connect(frame->command(id), &QAction::triggered, this, handler);
    };
    on(cmd::kFileNew, [this] { OnFileNew(); });
    on(cmd::kFileOpen, [this] { OnFileOpen(); });
    on(cmd::kFileSave, [doc] { doc->Save(); });
    on(cmd::kFileSaveAs, [doc] { doc->SaveAs(); });
    on(cmd::kFileClose, [frame] { frame->close(); });
    on(cmd::kExit, [frame] { frame->close(); });
    on(cmd::kPrint, [this] { printing_->Print(frame_.get()); });
    on(cmd::kPrintPreview, [this] { OnPrintPreview(); });
    on(cmd::kPrintSetup, [this] { OnPrintSetup(); });
    for (const ExportCommand& command : ExportCommands()) {
        on(command.id, [this, &command] { exports_->Run(command); });
    }
    on(cmd::kUndo, [doc] { doc->Undo(); });
    on(cmd::kRedo, [doc] { doc->Redo(); });
    on(cmd::kCut, [doc] { doc->Cut(); });
    on(cmd::kCopy, [doc] { doc->Copy(); });
    on(cmd::kPaste, [doc] { doc->Paste(); });
    on(cmd::kSelectAll, [view] { view->SelectAll(); });
    on(cmd::kGrid, [view] { view->ToggleGrid(); });
    on(cmd::kZoomIn, [view] { view->ZoomIn(); });
    on(cmd::kZoomOut, [view] { view->ZoomOut(); });
    on(cmd::kZoomActualSize, [view] { view->ZoomToActualSize(); });
    on(cmd::kZoomToFit, [view] { view->ZoomToFit(); });
    on(cmd::kComment, [doc] { doc->EditComment(); });
    on(cmd::kOptions, [this] { OnOptions(); });
    on(cmd::kAbout, [this] { OnAbout(); });
    for (const ToolRow& row : ToolTable()) {
        const Tool tool = row.tool;
        on(row.command, [this, doc, tool] {
            doc->ChooseTool(tool);
            UpdateCommandStates();  // choosing the current tool again keeps its check mark
        });
    }
    UpdatePasteState();
}

// The context menu offers every command, also where the menus show it disabled; the
// command itself does nothing then.
void CKelnoApp::RunCommand(int id) {
    const auto found = handlers_.find(id);
    if (found != handlers_.end()) {
        found->second();
    }
}

void CKelnoApp::UpdatePasteState() {
    pasteAvailable_ = document_->CanPaste();
    UpdateCommandStates();
}

void CKelnoApp::UpdateCommandStates() {
    const Document& core = document_->core();
    CommandState state;
    state.canUndo = core.CanUndo();
    state.canRedo = core.CanRedo();
    state.canCut = document_->CanCut();
    state.canCopy = document_->CanCopy();
    state.canPaste = pasteAvailable_;
    state.tool = core.currentTool();
    state.showGrid = view_->controller().showGrid();
    state.predictMode = classroom_->predictMode();
    state.readingsHidden = classroom_->readingsHidden();
    state.showPotentials = classroom_->showPotentials();
    state.markUnjoinedEnds = classroom_->markUnjoinedEnds();
    state.warnLargeCurrent = classroom_->warnLargeCurrent();
    frame_->ApplyCommandState(state);
}

// --- Start-up ------------------------------------------------------------------------------

std::optional<int> CKelnoApp::Start(const std::vector<std::string>& args) {
    if (const QString unusable = AppSettings::UnusableFile(); !unusable.isEmpty()) {
        prompts_->ShowError(QString::fromUtf8(messages::kSettingsNotRegularFile) +
                            QStringLiteral("\n") + unusable);
    }
    recentFiles_ = RecentFileList(settings_.ReadRecentFiles());
    previewPages_ = settings_.ReadPreviewPages();
    UpdateRecentMenu();
    desktop_.registerProgram();

    const StartupCommand command = ParseStartupCommand(args);
    if (command.predict) {
        classroom_->StartInPredictMode();
    }
    switch (command.action) {
        case StartupAction::UsageError:
            prompts_->ShowError(QString::fromStdString(command.error));
            return 2;
        case StartupAction::Unregister:
            return Unregister(command.quiet);
        case StartupAction::PrintFile:
            return PrintAndEnd(LocalPath(command.fileName), {});
        case StartupAction::PrintFileTo:
            return PrintAndEnd(LocalPath(command.fileName),
                               QString::fromStdString(command.printerName));
        case StartupAction::OpenFile:
            if (document_->OpenDocumentFile(LocalPath(command.fileName)) != LoadStatus::Ok) {
                return 1;
            }
            break;
        case StartupAction::NewDocument:
            document_->NewDocument();
            break;
    }
    frame_->show();
    view_->setFocus();
    return std::nullopt;
}

std::optional<int> CKelnoApp::PrintAndEnd(const QString& path, const QString& printer) {
    if (document_->OpenDocumentFile(path, CKelnoDoc::CommentOnOpening::Skip) != LoadStatus::Ok) {
        return 1;
    }
    return printing_->PrintDirect(printer) ? 0 : 1;
}

int CKelnoApp::Unregister(bool quietly) {
    const bool removed = desktop_.unregisterProgram();
    if (!quietly) {
        const QString text =
            QString::fromUtf8(removed ? messages::kUnregistered : messages::kUnregisterIncomplete);
        removed ? prompts_->ShowInformation(text) : prompts_->ShowError(text);
    }
    return removed ? 0 : 1;
}

// --- File commands -------------------------------------------------------------------------

void CKelnoApp::OnFileNew() {
    if (document_->SaveModified()) {
        document_->NewDocument();
    }
}

void CKelnoApp::OnFileOpen() {
    QString directory;
    if (!document_->pathName().isEmpty()) {
        directory = QFileInfo(document_->pathName()).absolutePath();
    } else if (!recentFiles_.entries().empty()) {
        directory =
            QFileInfo(QString::fromStdString(recentFiles_.entries().front())).absolutePath();
    }
    const QString path = prompts_->ChooseFileToOpen(directory);
    if (!path.isEmpty()) {
        OpenFile(path);
    }
}

bool CKelnoApp::OpenFile(const QString& path) {
    if (!document_->SaveModified()) {
        return false;
    }
    return document_->OpenDocumentFile(path) == LoadStatus::Ok;
}

void CKelnoApp::OnOpenRecentFile(int index) {
    const auto& entries = recentFiles_.entries();
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) {
        return;
    }
    const std::string entry = entries[static_cast<std::size_t>(index)];
    const QString path = QString::fromStdString(entry);
    if (!QFileInfo::exists(path)) {
        // A file that is gone leaves the list, before any question about the document.
        prompts_->ShowError(QString::fromUtf8(messages::kFileNotFound) + QStringLiteral("\n") +
                            path);
        recentFiles_.Remove(entry);
        settings_.WriteRecentFiles(recentFiles_.entries());
        UpdateRecentMenu();
        return;
    }
    OpenFile(path);
}

void CKelnoApp::RememberFile(const QString& path) {
    recentFiles_.Add(Canonical(path).toStdString());
    settings_.WriteRecentFiles(recentFiles_.entries());
    UpdateRecentMenu();
}

void CKelnoApp::UpdateRecentMenu() {
    QStringList texts;
    for (std::size_t i = 0; i < recentFiles_.entries().size(); ++i) {
        texts << QString::fromStdString(recentFiles_.MenuText(i));
    }
    frame_->SetRecentFiles(texts);
}

// --- Printing and About --------------------------------------------------------------------

void CKelnoApp::OnPrintPreview() {
    printing_->Preview(frame_.get(), previewPages_);
    settings_.WritePreviewPages(previewPages_);
}

void CKelnoApp::OnPrintSetup() {
    printing_->Setup(frame_.get());
}

void CKelnoApp::OnAbout() {
    ShowAboutBox(frame_.get());
}

void CKelnoApp::OnOptions() {
    bool explainShort = classroom_->explainShort();
    if (document_->EditOptions(explainShort)) {
        classroom_->SetExplainShort(explainShort);
        ApplyNoDiagonalWires(document_->core().noDiagonalWires());
    }
}

void CKelnoApp::ApplyNoDiagonalWires(bool on) {
    noDiagonalWires_ = on;
    document_->core().SetNoDiagonalWires(on);
    view_->SetNoDiagonalWires(on);
}

}  // namespace kelno
