#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "document/document.h"
#include "editing/editing_port.h"
#include "editing/press_preview.h"
#include "view/logical_point.h"
#include "view/view_scale.h"

namespace kelno {

class ScopedEdit;

// The editing state machine of the view: turns presses, moves, releases, double-clicks and
// keys (positions in device pixels relative to the top-left corner of the drawing area)
// into edits of the document's live circuit, with the tool rules, tolerances, undo states
// and analysis of an editing gesture. It owns the state of the gesture under way and the
// grid flag; everything else lives in the document. It reaches the window only through
// its EditingPort.
class EditController {
public:
    enum class Arrow { Left, Up, Right, Down };

    // A line or rectangle drawn over the circuit while a gesture is under way, in logical
    // units.
    struct RubberLine {
        LogicalPoint from;
        LogicalPoint to;
    };
    struct RubberRect {
        LogicalPoint corner1;
        LogicalPoint corner2;
    };

    EditController(Document& document, EditingPort& port, const ViewScale& scale);
    ~EditController();
    EditController(const EditController&) = delete;
    EditController& operator=(const EditController&) = delete;

    // The screen's resolution changed (the window moved to another screen).
    void SetScale(const ViewScale& scale);
    const ViewScale& scale() const { return scale_; }

    // --- Mouse ------------------------------------------------------------------------------
    void Press(DevicePoint position, bool shift);
    void Move(DevicePoint position);
    void Release(DevicePoint position);
    void DoubleClick(DevicePoint position);
    // The window lost the mouse in the middle of a gesture (another window took it): the
    // gesture ends where it stands, without the release's action.
    void CaptureLost();
    // Whether a gesture holds the mouse.
    bool capturing() const { return capturing_; }

    // --- Keys and view commands -------------------------------------------------------------
    // One arrow-key press (auto-repeated ones included): moves the selection 10 units.
    void Nudge(Arrow arrow);
    void SelectAll();
    void ToggleGrid();
    bool showGrid() const { return showGrid_; }
    // While pupils predict the readings, the summary of a clicked element and the details
    // dialog leave out everything the analysis found. A change rewrites the summary.
    void SetReadingsHidden(bool hidden);
    // Whether the summary adds a sentence when a battery carries a large current.
    void SetLargeCurrentWarning(bool on);
    // The program's option that wires run at right angles: a double click on a wire then
    // flips its bend instead of splitting it. The document's owner holds the option.
    void SetNoDiagonalWires(bool on) { noDiagonalWires_ = on; }
    bool noDiagonalWires() const { return noDiagonalWires_; }

    // --- What the view paints over the circuit ----------------------------------------------
    std::optional<RubberLine> rubberWire() const;
    std::optional<RubberRect> rubberBand() const;

    // --- What a press would do ---------------------------------------------------------------
    // What Press(position, shift) would do now, without doing it. Press itself acts on this
    // answer, so the two always agree. A press on a point is answered for a pull straight
    // away from the point through `position`: along one of its links that pulls the link off.
    PressPreview PreviewPress(DevicePoint position, bool shift) const;
    // The mouse moved over the view (with or without a button down), or left it.
    void Hover(DevicePoint position, bool shift);
    void HoverLeft();
    // What a press where the mouse hovers would do; nothing while a gesture holds the mouse
    // or the mouse is not over the view.
    std::optional<PressPreview> hoverPreview() const;
    // While a wire or a point is dragged: the point that a release where the mouse is now
    // would join it to, or nullptr when such a release joins nothing.
    const CircuitPoint* releaseTarget() const;
    // The status bar's prompt for the hover or the drag under way; empty when there is none.
    std::string prompt() const;

private:
    Circuit& circuit() { return document_.circuit(); }
    Tool tool() const { return document_.currentTool(); }

    // What a press decides, with the handles Press acts on.
    struct PressDecision {
        PressAction action = PressAction::SelectArea;
        CircuitPoint* point = nullptr;
        CircuitElement* link = nullptr;
        CircuitElement* element = nullptr;
        bool startsWire = false;  // a press on the rim of a point with a tool that draws
    };
    PressDecision DecidePress(LogicalPoint position, bool shift) const;
    // The point a wire drawn now would end at, and the point a dragged point would be merged
    // into, for a release at `position`.
    CircuitPoint* WireEndAt(LogicalPoint position) const;
    CircuitPoint* MergeTargetAt(LogicalPoint position) const;

    // Press
    void StartGesture(LogicalPoint position);
    void GrabPoint(CircuitPoint* point, bool startsWire);
    void PlaceComponentAt(LogicalPoint position);
    void StartRubberBand(bool shift);
    void PressElement(CircuitElement* element, bool shift);

    // Move
    void MoveRubberWire(LogicalPoint position);
    void MoveRubberBand(LogicalPoint position);
    void DragPoint(LogicalPoint position);
    void MoveSelection(LogicalPoint position);

    // Release
    void FinishWire(LogicalPoint position);
    void SelectInRubberBand(LogicalPoint position);
    void MergeDraggedPoint(LogicalPoint position);
    void JoinClickedElement();

    // Double-click
    void EditWire(CircuitElement* wire, LogicalPoint position);
    void EditDetailsOf(CircuitElement* element);

    void TakeMouse();
    // Opens the gesture's edit, one undo step for all its later steps; the end of the
    // gesture commits it.
    void TakeCheckpoint();
    // Lets go of the mouse and of every point and element the gesture held.
    void EndGesture();
    void OnDocumentEvent(DocumentEvent event);
    // After every change of the circuit the message pane describes the selection as it now
    // stands, so that no reading in it is older than the last analysis. A failed analysis
    // leaves the pane to the drawing, which says "Short".
    void RefreshStatus();
    std::string StatusLine() const;

    Document& document_;
    EditingPort& port_;
    ViewScale scale_;
    Document::ListenerId listener_ = 0;
    bool capturing_ = false;
    bool showGrid_ = false;
    bool readingsHidden_ = false;
    bool warnLargeCurrent_ = false;
    bool noDiagonalWires_ = false;

    // The gesture under way.
    LogicalPoint dragStart_;    // the press, or the grabbed point; anchors the rubber feedback
    LogicalPoint dragCurrent_;  // where the drag has got to
    bool rubberBand_ = false;   // a selection rectangle is drawn
    bool drawingWire_ = false;  // a wire is drawn from wireStart_
    bool dragPending_ = false;  // the button is down, the drag threshold not yet passed
    std::unique_ptr<ScopedEdit> gestureEdit_;  // open from the gesture's first change
    CircuitPoint* wireStart_ = nullptr;
    LogicalPoint lastMouse_;  // where the mouse was last seen during the gesture, unsnapped
    // Where the mouse hovers over the view, and whether shift was held then.
    std::optional<DevicePoint> hover_;
    bool hoverShift_ = false;
    // Counts the times the live circuit was replaced behind the controller's back, so that
    // a modal dialog can tell whether the element it edits still exists.
    std::uint64_t replacements_ = 0;
};

}  // namespace kelno
