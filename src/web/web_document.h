#pragma once

#include <emscripten/val.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "document/document.h"
#include "editing/edit_controller.h"
#include "editing/editing_port.h"

namespace kelno::web {

// The document, its editing controller and its drawing for the web page: one object that
// JavaScript creates, drives with pointer events and asks for drawing calls. Whatever the
// core asks of the user (the details dialog) goes to the page's listener as a request,
// answered later with AnswerDetails, because a page's dialogs cannot block.
class WebDocument : private EditingPort {
public:
    WebDocument();
    ~WebDocument() override;
    WebDocument(const WebDocument&) = delete;
    WebDocument& operator=(const WebDocument&) = delete;

    // The page's listener: an object with the methods status(text), repaint(),
    // capture(taken), documentEvent(name) and details(initial); any may be missing.
    void SetListener(emscripten::val listener);

    // --- Files ----------------------------------------------------------------------------
    void NewDocument();
    // {status: "ok"|"unreadable"|"newer"|"malformed", error, showComment, newerVersion}.
    // A file of a newer version opens only with `openNewer`; otherwise the result says
    // "newer" with its version, so that the page can ask and load again.
    emscripten::val Load(const std::string& bytes, bool openNewer);
    // The file's bytes with the window rectangle kept from the last open (or a new one's).
    emscripten::val Save();
    emscripten::val SaveWithWindow(int left, int top, int right, int bottom);
    void MarkSaved() { document_.MarkSaved(); }
    bool Modified() const { return document_.modified(); }
    emscripten::val WindowRect() const;

    // --- History, tools, comment, options -------------------------------------------------
    bool Undo() { return document_.Undo(); }
    bool Redo() { return document_.Redo(); }
    bool CanUndo() const { return document_.CanUndo(); }
    bool CanRedo() const { return document_.CanRedo(); }
    // A number that changes with every change of the circuit (an edit, undo, redo, a new or
    // opened file) and not with a selection: the page hides revealed readings again on it.
    double HistoryState() const { return static_cast<double>(document_.history().CurrentState()); }
    // Tools by the page's numbers (ToolCode); a number that is no tool's changes nothing.
    int CurrentTool() const { return ToolCode(document_.currentTool()); }
    void ChooseTool(int code) {
        if (const std::optional<Tool> tool = ToolFromCode(code)) {
            document_.ChooseTool(*tool);
        }
    }
    std::string Comment() const;  // UTF-8
    int ShowCommentOnOpen() const { return document_.showCommentOnOpen(); }
    void SetComment(const std::string& utf8, int showOnOpen);
    emscripten::val Options() const;
    void SetOptions(emscripten::val options);

    // --- Clipboard text (the desktop's format) ---------------------------------------------
    bool CanCopy() const;
    bool CanCut() const;
    // The text of the selection for the system clipboard; empty when nothing is selected.
    std::string CopyText();
    std::string CutText();
    // {ok, error, clipboard}: text that is not a circuit changes nothing and says why;
    // `clipboard` is what the clipboard should hold next (the elements a step further on).
    emscripten::val Paste(const std::string& text);

    // --- The analysis ---------------------------------------------------------------------
    // {outcome, loops, sweeps, currents, failingLoop, potentials, shortText}.
    emscripten::val Report() const;
    int ElementCount() const { return static_cast<int>(document_.circuit().ElementCount()); }

    // --- The analysis in a worker -----------------------------------------------------------
    // While deferred, changes leave the readings pending; the page analyses the saved bytes
    // in a worker (a second document's Load and Report) and hands the report back for the
    // generation it analysed. False when a later change superseded it.
    void SetAnalysisDeferred(bool deferred) { document_.SetAnalysisDeferred(deferred); }
    bool AnalysisPending() const { return document_.analysisPending(); }
    double AnalysisGeneration() const { return static_cast<double>(document_.analysisGeneration()); }
    bool ApplyAnalysis(double generation, emscripten::val report);
    // The circuit as it stands: {points: [[x, y], …] in logical units, elements:
    // [[end1, end2, kind, selected], …] with ends as positions in points}.
    emscripten::val Geometry() const;

    // --- Editing with the pointer (device pixels from the drawing area's corner) ----------
    void SetScale(double pixelsPerUnitX, double pixelsPerUnitY);
    void Press(int x, int y, bool shift) { controller_->Press({x, y}, shift); }
    void Move(int x, int y) { controller_->Move({x, y}); }
    void Release(int x, int y) { controller_->Release({x, y}); }
    void DoubleClick(int x, int y) { controller_->DoubleClick({x, y}); }
    void CaptureLost() { controller_->CaptureLost(); }
    bool Capturing() const { return controller_->capturing(); }
    void Nudge(int arrow);  // 0 left, 1 up, 2 right, 3 down
    void SelectAll() { controller_->SelectAll(); }
    void ToggleGrid() { controller_->ToggleGrid(); }
    bool ShowGrid() const { return controller_->showGrid(); }
    void SetReadingsHidden(bool hidden) { controller_->SetReadingsHidden(hidden); }
    // The answer to the last details request: the values on OK, nothing on cancel.
    void AnswerDetails(bool ok, double resistance, double emf);
    // The dialog's two boxes read by the desktop dialog's rules (full-width digits taken as
    // half-width, a zero must begin with 0, no resistance below zero but for a switch):
    // {ok, resistance, emf, error, box} with box "resistance" or "emf" when refused.
    static emscripten::val ReadDetails(const std::string& resistance, const std::string& emf,
                                       bool negativeResistanceAllowed);
    // A value as the dialog's box shows it ("%.15g").
    static std::string FormatDetailsValue(double value);

    // --- What a press would do -------------------------------------------------------------
    // The pointer hovers (no button down) at a device pixel, or left the view.
    void Hover(int x, int y, bool shift) { controller_->Hover({x, y}, shift); }
    void HoverLeft() { controller_->HoverLeft(); }
    // {action, prompt, point: [x, y] | null, link: [x1, y1, x2, y2] | null,
    //  target: [x, y] | null} in logical units: what a press where the pointer hovers would
    // do (the point ringed, the link a pull takes off), and while a wire or a point is
    // dragged the point a release would join.
    emscripten::val Preview() const;
    void SetLargeCurrentWarning(bool on) { controller_->SetLargeCurrentWarning(on); }
    // {wire: [x1, y1, x2, y2] | null, band: [x1, y1, x2, y2] | null} in logical units.
    emscripten::val Overlay() const;

    // --- Drawing --------------------------------------------------------------------------
    // The drawing calls of the circuit for a drawing area of `options.width` by
    // `options.height` device pixels, with the picture options grid, noFlow, explain,
    // predict and potentials: {calls: Float64Array, texts: [...], status}.
    emscripten::val Draw(emscripten::val options) const;

private:
    void FollowNoDiagonalWires();

    // EditingPort
    void SetStatusText(std::string_view text) override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    void Repaint() override;
    void RequestDetails(const DetailsValues& initial, DetailsDone done) override;

    void Tell(const char* method, emscripten::val argument = emscripten::val::undefined()) const;

    Document document_;
    ViewScale scale_;
    std::unique_ptr<EditController> controller_;
    emscripten::val listener_ = emscripten::val::undefined();
    DetailsDone pendingDetails_;
};

}  // namespace kelno::web
