#include "ckelnodoc.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <optional>

#include "document/clipboard_commands.h"
#include "io/file_bytes.h"
#include "io/in_place_copy.h"
#include "io/kel_file.h"
#include "messages.h"
#include "system_clipboard.h"
#include "text/comment_text.h"

namespace kelno {

namespace {

const QString kUntitled = QStringLiteral("無題");
const QString kKelExtension = QStringLiteral(".kel");
// An analysis that has not ended after this long shows its readings as pending.
constexpr std::chrono::milliseconds kPendingDelay{100};
constexpr const char* kCannotPaste = "貼り付けできませんでした。";

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

// The wait cursor for the length of a step that may take a moment.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

CKelnoDoc::CKelnoDoc(Prompts& prompts, Document::Clock clock, QObject* parent,
                     ClipboardPort* clipboard)
    : QObject(parent),
      prompts_(&prompts),
      systemClipboard_(clipboard == nullptr ? std::make_unique<SystemClipboard>() : nullptr),
      clipboard_(clipboard == nullptr ? systemClipboard_.get() : clipboard),
      document_(std::move(clock)) {
    // The worker calls back on its own thread; the result is taken on this one.
    worker_ = std::make_unique<AnalysisWorker>([this] {
        QMetaObject::invokeMethod(this, [this] { TakeFinishedAnalysis(); }, Qt::QueuedConnection);
    });
    pendingDelay_.setSingleShot(true);
    pendingDelay_.setInterval(kPendingDelay);
    connect(&pendingDelay_, &QTimer::timeout, this,
            [this] { SetReadingsPending(document_.analysisPending()); });
    listener_ = document_.Subscribe([this](DocumentEvent event) { OnDocumentEvent(event); });
    document_.SetAnalysisDeferred(true);
}

CKelnoDoc::~CKelnoDoc() {
    worker_.reset();
    document_.Unsubscribe(listener_);
}

void CKelnoDoc::OnDocumentEvent(DocumentEvent event) {
    switch (event) {
        case DocumentEvent::Repaint:
            emit repaintRequested();
            break;
        case DocumentEvent::ModifiedChanged:
            emit modifiedChanged(document_.modified());
            break;
        case DocumentEvent::ToolChanged:
            emit toolChanged(document_.currentTool());
            break;
        case DocumentEvent::CircuitReplaced:
            break;  // the view's editing controller listens to the document itself
        case DocumentEvent::AnalysisRequested:
            StartAnalysis();
            break;
    }
}

// --- The analysis ------------------------------------------------------------------------

void CKelnoDoc::StartAnalysis() {
    if (document_.circuit().ElementCount() == 0) {
        // Nothing to wait for: analysed here, without a copy of what may be a file full of
        // lone points.
        worker_->Cancel();
        document_.SetAnalysisDeferred(false);
        document_.SetAnalysisDeferred(true);
        TakeFinishedAnalysis();
        return;
    }
    const std::uint64_t generation = document_.analysisGeneration();
    worker_->Start(generation, document_.circuit());
    if (worker_->WaitFor(generation, analysisWait_)) {
        TakeFinishedAnalysis();
    } else if (!readingsPending_ && !pendingDelay_.isActive()) {
        pendingDelay_.start();
    }
}

void CKelnoDoc::TakeFinishedAnalysis() {
    if (std::optional<AnalysisWorker::Result> result = worker_->TakeResult()) {
        document_.ApplyAnalysis(result->generation, result->currents, std::move(result->report));
    }
    if (!document_.analysisPending()) {
        pendingDelay_.stop();
        SetReadingsPending(false);
    }
}

void CKelnoDoc::SetReadingsPending(bool pending) {
    if (readingsPending_ != pending) {
        readingsPending_ = pending;
        emit readingsPendingChanged(pending);
        emit repaintRequested();
    }
}

void CKelnoDoc::WaitForAnalysis() {
    if (!document_.analysisPending()) {
        return;
    }
    WaitCursor wait;
    const std::uint64_t generation = document_.analysisGeneration();
    while (!worker_->WaitFor(generation, std::chrono::milliseconds(100)) && worker_->busy()) {
    }
    TakeFinishedAnalysis();
    if (document_.analysisPending()) {
        // The worker holds nothing for this circuit (it cannot, but a save must not go
        // without its currents): analyse it here.
        document_.SetAnalysisDeferred(false);
        document_.SetAnalysisDeferred(true);
        TakeFinishedAnalysis();
    }
}

QString CKelnoDoc::title() const {
    return pathName_.isEmpty() ? kUntitled : QFileInfo(pathName_).fileName();
}

void CKelnoDoc::SetPathName(const QString& path) {
    pathName_ = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    emit titleChanged(title());
}

// --- The save question -------------------------------------------------------------------

bool CKelnoDoc::SaveModified() {
    if (!isModified()) {
        return true;
    }
    switch (prompts_->AskSaveChanges(title())) {
        case Prompts::SaveAnswer::Save:
            return Save();
        case Prompts::SaveAnswer::Discard:
            return true;
        case Prompts::SaveAnswer::Cancel:
            break;
    }
    return false;
}

// --- New and open ------------------------------------------------------------------------

void CKelnoDoc::NewDocument() {
    document_.NewDocument();
    SetPathName({});
}

// A copy kept by a save that was cut short in the middle of overwriting the file: the file
// may hold a mixture of old and new bytes, which can even read as a different circuit, so
// the user is asked first. Declined, the copy goes once the file has opened as it is.
// False when the copy should have been put back and could not.
bool CKelnoDoc::OfferInterruptedSaveCopy(const QString& path, bool& declined) {
    declined = false;
    const std::string local = LocalPath(path);
    const std::optional<std::vector<std::uint8_t>> copy = InPlaceCopy::Find(local);
    if (!copy) {
        return true;
    }
    const QString question =
        QString::fromUtf8(messages::kRestoreQuestion).replace(QStringLiteral("%s"), path);
    if (!prompts_->AskRestoreInterruptedSave(question)) {
        declined = true;
        return true;
    }
    std::string error;
    if (!WriteFileAtomically(local, *copy, error)) {
        prompts_->ShowError(Utf8(error));
        return false;
    }
    InPlaceCopy::Forget(local);
    return true;
}

LoadStatus CKelnoDoc::OpenDocumentFile(const QString& path, CommentOnOpening comment) {
    bool declinedCopy = false;
    if (!OfferInterruptedSaveCopy(path, declinedCopy)) {
        return LoadStatus::Unreadable;
    }
    LoadResult result;
    {
        WaitCursor wait;
        result = document_.LoadFile(LocalPath(path), [this](std::int32_t version) {
            QGuiApplication::restoreOverrideCursor();
            const bool open =
                prompts_->AskOpenNewerVersion(Utf8(NewerVersionQuestionText(version)));
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            return open;
        });
    }
    if (result.status != LoadStatus::Ok) {
        ShowLoadFailure(result);
        return result.status;
    }
    if (declinedCopy) {
        InPlaceCopy::Forget(LocalPath(path));
    }
    SetPathName(path);
    emit windowRectLoaded(document_.windowRect());
    emit fileUsed(pathName_);
    if (result.showComment && comment == CommentOnOpening::Show) {
        ShowCommentOnOpening();
    }
    return LoadStatus::Ok;
}

void CKelnoDoc::ShowLoadFailure(const LoadResult& result) {
    switch (result.status) {
        case LoadStatus::NewerVersionRefused:
            prompts_->ShowError(Utf8(messages::kOpenFailed));
            return;
        case LoadStatus::Malformed:
            prompts_->ShowError(Utf8(messages::kUnexpectedFileFormat));
            return;
        case LoadStatus::Unreadable:
        case LoadStatus::Ok:
            break;
    }
    prompts_->ShowError(Utf8(result.error));
}

// --- Save --------------------------------------------------------------------------------

bool CKelnoDoc::Save() {
    if (pathName_.isEmpty()) {
        return SaveAs();
    }
    return SaveTo(pathName_);
}

bool CKelnoDoc::SaveAs() {
    QString suggestion = pathName_;
    if (suggestion.isEmpty()) {
        suggestion = QDir::current().filePath(kUntitled + kKelExtension);
    }
    const QString chosen = prompts_->ChooseFileToSave(suggestion);
    if (chosen.isEmpty()) {
        return false;
    }
    const QString path = WithKelExtension(chosen);
    if (!SaveTo(path)) {
        return false;
    }
    SetPathName(path);
    emit fileUsed(pathName_);
    return true;
}

bool CKelnoDoc::SaveTo(const QString& path) {
    WaitForAnalysis();
    std::string error;
    bool saved = false;
    {
        WaitCursor wait;
        saved = document_.SaveFile(LocalPath(path), CurrentWindowRect(), error);
    }
    if (!saved) {
        // Says that the document was not saved, then names the file and the reason; the
        // document stays modified.
        prompts_->ShowError(Utf8(messages::kSaveFailed) + QStringLiteral("\n") + Utf8(error));
    }
    return saved;
}

WindowRect CKelnoDoc::CurrentWindowRect() const {
    return windowRectSource_ ? windowRectSource_() : document_.windowRect();
}

QString CKelnoDoc::WithKelExtension(const QString& path) {
    if (path.endsWith(kKelExtension, Qt::CaseInsensitive)) {
        return path;
    }
    return path + kKelExtension;
}

// --- Clipboard ---------------------------------------------------------------------------

void CKelnoDoc::Cut() {
    kelno::Cut(document_, *clipboard_);
}

void CKelnoDoc::Copy() {
    kelno::Copy(document_, *clipboard_);
}

void CKelnoDoc::Paste() {
    std::string error;
    if (!kelno::Paste(document_, *clipboard_, &error) && !error.empty()) {
        prompts_->ShowError(QString::fromUtf8(kCannotPaste) + QStringLiteral("\n") + Utf8(error));
    }
}

bool CKelnoDoc::CanCut() const {
    return kelno::CanCut(document_);
}

bool CKelnoDoc::CanCopy() const {
    return kelno::CanCopy(document_);
}

bool CKelnoDoc::CanPaste() const {
    return kelno::CanPaste(*clipboard_);
}

// --- Comment and options -------------------------------------------------------------------

std::optional<Prompts::Comment> CKelnoDoc::AskComment() {
    Prompts::Comment comment{QString::fromStdU16String(CommentForEditing(document_.commentText())),
                             document_.showCommentOnOpen() != 0};
    if (!prompts_->EditComment(comment)) {
        return std::nullopt;
    }
    return comment;
}

void CKelnoDoc::TakeComment(const Prompts::Comment& comment) {
    const QString shown = QString::fromStdU16String(CommentForEditing(document_.commentText()));
    std::string bytes = comment.text == shown ? document_.commentText()
                                              : CommentFromEditing(comment.text.toStdU16String());
    document_.SetComment(std::move(bytes), comment.showOnOpen ? 1 : 0);
}

void CKelnoDoc::EditComment() {
    if (const auto comment = AskComment()) {
        TakeComment(*comment);
    }
}

void CKelnoDoc::ShowCommentOnOpening() {
    const QString shown = QString::fromStdU16String(CommentForEditing(document_.commentText()));
    const bool shownOnOpen = document_.showCommentOnOpen() != 0;
    const auto comment = AskComment();
    if (comment && (comment->text != shown || comment->showOnOpen != shownOnOpen)) {
        TakeComment(*comment);
    }
}

bool CKelnoDoc::EditOptions(bool& explainShort) {
    DocumentOptions options = document_.options();
    bool explain = explainShort;
    if (!prompts_->EditOptions(options, explain)) {
        return false;
    }
    explainShort = explain;
    document_.SetOptions(options);
    return true;
}

}  // namespace kelno
