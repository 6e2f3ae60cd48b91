#include "editing/edit_controller.h"

#include "document/scoped_edit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "editing/circuit_edits.h"
#include "editing/details_rules.h"
#include "model/element_catalogue.h"
#include "render/selection_summary.h"
#include "render/warning_marks.h"
#include "text/details_number.h"
#include "view/hit_test.h"
#include "view/view_geometry.h"

namespace kelno {

namespace {

// Drag thresholds in logical units: a grabbed point moves only once the mouse is more than
// this far away, a selection already at this distance.
constexpr std::int64_t kDragThreshold = 10;
// Pixel tolerances of the gestures.
constexpr std::int64_t kWireEndTolerance = 20;  // rubber-wire snapping, wire end on release
constexpr std::int64_t kMagnetTolerance = 20;   // magnet while dragging, merge on release
constexpr std::int32_t kNudgeStep = 10;

LogicalPoint PositionOf(const CircuitPoint& point) {
    return {point.x, point.y};
}

// The larger of the two components of the step from `from` to `to`, in logical units.
std::int64_t StepLength(LogicalPoint from, LogicalPoint to) {
    return std::max(std::abs(std::int64_t{to.x} - from.x), std::abs(std::int64_t{to.y} - from.y));
}

// The first point nearer than `tolerance` pixels to `position`, whichever it is.
const CircuitPoint* FirstPointNear(const Circuit& circuit, LogicalPoint position,
                                   std::int64_t tolerance, const ViewScale& scale) {
    for (const CircuitPoint& point : circuit.points()) {
        if (PixelDistance(PositionOf(point), position, scale) < tolerance) {
            return &point;
        }
    }
    return nullptr;
}

}  // namespace

EditController::EditController(Document& document, EditingPort& port, const ViewScale& scale)
    : document_(document), port_(port), scale_(scale) {
    listener_ = document_.Subscribe([this](DocumentEvent event) { OnDocumentEvent(event); });
}

EditController::~EditController() {
    document_.Unsubscribe(listener_);
}

void EditController::SetScale(const ViewScale& scale) {
    scale_ = scale;
}

// --- Press -------------------------------------------------------------------------------------

void EditController::Press(DevicePoint position, bool shift) {
    const LogicalPoint p = scale_.ToLogical(position);
    const PressDecision decision = DecidePress(p, shift);
    StartGesture(p);
    switch (decision.action) {
        case PressAction::MovePoint:
        case PressAction::StartWire:
        case PressAction::DetachLink:
            GrabPoint(decision.point, decision.startsWire);
            return;
        case PressAction::SelectElement:
        case PressAction::DeselectElement:
            PressElement(decision.element, shift);
            return;
        case PressAction::PlaceComponent:
            PlaceComponentAt(p);
            return;
        case PressAction::SelectArea:
            StartRubberBand(shift);
            return;
    }
}

// A point within the grab tolerance wins over everything (unless shift is held), then the
// element whose midpoint is hit; empty space places a component or starts a rectangle.
EditController::PressDecision EditController::DecidePress(LogicalPoint position, bool shift) const {
    Circuit& live = document_.circuit();
    PressDecision decision;
    if (!shift) {
        const PointHit hit = HitTestPoint(live, position, scale_);
        if (hit.point != nullptr) {
            decision.point = hit.point;
            decision.action = PressAction::MovePoint;
            if (tool() == Tool::Selection) {
                return decision;  // no wires and no pulling links off with this tool
            }
            decision.startsWire = hit.distance > kPointCentreTolerance;
            if (decision.startsWire) {
                decision.action = PressAction::StartWire;
            }
            const std::int64_t dx = std::int64_t{position.x} - hit.point->x;
            const std::int64_t dy = std::int64_t{position.y} - hit.point->y;
            if (dx != 0 || dy != 0) {
                decision.link = LinkToDetach(*hit.point, PositionOf(*hit.point), dx, dy);
                if (decision.link != nullptr) {
                    decision.action = PressAction::DetachLink;
                }
            }
            return decision;
        }
    }
    decision.element = HitTestElement(live, position, scale_);
    if (decision.element != nullptr) {
        decision.action = shift && decision.element->selected() ? PressAction::DeselectElement
                                                                : PressAction::SelectElement;
    } else if (IsComponentTool(tool())) {
        decision.action = PressAction::PlaceComponent;
    }
    return decision;
}

PressPreview EditController::PreviewPress(DevicePoint position, bool shift) const {
    const PressDecision decision = DecidePress(scale_.ToLogical(position), shift);
    return {decision.action, decision.point, decision.link, decision.element};
}

void EditController::StartGesture(LogicalPoint position) {
    if (capturing_) {
        EndGesture();  // the window missed a release: that gesture is over
    }
    dragStart_ = dragCurrent_ = lastMouse_ = position;
    rubberBand_ = false;
    drawingWire_ = false;
    dragPending_ = true;
    wireStart_ = nullptr;
}

// A press on a point grabs it; on its rim, with a tool that draws, it starts a wire.
void EditController::GrabPoint(CircuitPoint* point, bool startsWire) {
    TakeMouse();
    dragStart_ = dragCurrent_ = PositionOf(*point);
    circuit().ClearSelection();
    circuit().SelectPoint(point);
    port_.Repaint();
    if (startsWire) {
        drawingWire_ = true;
        wireStart_ = point;
    }
}

// The mouse is not taken: the moves and the release of this press do nothing.
void EditController::PlaceComponentAt(LogicalPoint position) {
    ScopedEdit edit(document_);
    PlaceComponent(circuit(), KindOfTool(tool()).value_or(ElementKind::Wire), position);
    document_.ToolUsed();
    edit.Commit(EditChange::Geometry);
}

void EditController::StartRubberBand(bool shift) {
    if (!shift && (circuit().pointSelected() || circuit().SelectedCount() > 0)) {
        circuit().ClearPointSelection();
        circuit().ClearSelection();
        port_.Repaint();
    }
    TakeMouse();
    rubberBand_ = true;
}

void EditController::PressElement(CircuitElement* element, bool shift) {
    TakeMouse();
    circuit().ClearPointSelection();
    if (!element->selected()) {
        if (!shift) {
            circuit().ClearSelection();
        }
        circuit().Select(element);
        port_.SetStatusText(StatusLine());  // the element just selected is the last one
    } else if (shift) {
        circuit().Deselect(element);
    }
    // Without shift a selected element keeps the whole selection, so that it can be dragged.
    port_.Repaint();
}

// --- Move --------------------------------------------------------------------------------------

void EditController::Move(DevicePoint position) {
    if (!capturing_) {
        return;
    }
    const LogicalPoint p = scale_.ToLogical(position);
    lastMouse_ = p;
    if (drawingWire_ && !dragPending_) {
        MoveRubberWire(p);
    } else if (rubberBand_) {
        MoveRubberBand(p);
    } else if (circuit().pointSelected()) {
        DragPoint(p);
    } else {
        MoveSelection(p);
    }
}

// The rubber wire's end jumps onto a point near the mouse, to show where the wire would go.
void EditController::MoveRubberWire(LogicalPoint position) {
    const CircuitPoint* near = FirstPointNear(circuit(), position, kWireEndTolerance, scale_);
    dragCurrent_ = near != nullptr ? PositionOf(*near) : position;
    port_.Repaint();
}

void EditController::MoveRubberBand(LogicalPoint position) {
    dragCurrent_ = position;
    port_.Repaint();
}

void EditController::DragPoint(LogicalPoint position) {
    CircuitPoint* point = circuit().selectedPoint();
    const std::int64_t dx = std::int64_t{position.x} - dragCurrent_.x;
    const std::int64_t dy = std::int64_t{position.y} - dragCurrent_.y;
    if (dragPending_) {
        if (StepLength(dragCurrent_, position) <= kDragThreshold) {
            return;
        }
        TakeCheckpoint();
        dragPending_ = false;
        // The first step only decides whether a link leaves the point; the point stays.
        if (tool() != Tool::Selection &&
            DetachLink(circuit(), point, dragStart_, position, dx, dy) != nullptr) {
            dragCurrent_ = position;
            drawingWire_ = false;
            wireStart_ = nullptr;
            gestureEdit_->Changed(EditChange::Circuit);
            document_.CircuitChanged();  // the readings follow the link at once
        }
        return;
    }
    LogicalPoint target = position;
    const CircuitPoint* magnet = nullptr;
    if (tool() != Tool::Selection) {
        magnet = NearestFreePoint(circuit(), position, point, kMagnetTolerance, Limit::Inclusive,
                                  scale_);
    }
    if (magnet != nullptr) {
        target = PositionOf(*magnet);
    } else if (showGrid_) {
        target = SnapToGrid(position);
    }
    MovePoint(*point, std::int64_t{target.x} - dragCurrent_.x,
              std::int64_t{target.y} - dragCurrent_.y);
    dragCurrent_ = target;
    gestureEdit_->Changed(EditChange::Geometry);
    document_.GeometryChanged();
}

void EditController::MoveSelection(LogicalPoint position) {
    if (circuit().SelectedCount() == 0) {
        return;  // a shift-click took the last element away: nothing to move, no undo state
    }
    if (dragPending_) {
        if (StepLength(dragCurrent_, position) < kDragThreshold) {
            return;
        }
        TakeCheckpoint();
        dragPending_ = false;
    }
    // The whole distance since the last step, never snapped.
    MoveMarkedPoints(circuit(), std::int64_t{position.x} - dragCurrent_.x,
                     std::int64_t{position.y} - dragCurrent_.y);
    dragCurrent_ = position;
    gestureEdit_->Changed(EditChange::Geometry);
    document_.GeometryChanged();
}

// --- Release -----------------------------------------------------------------------------------

void EditController::Release(DevicePoint position) {
    if (!capturing_) {
        return;
    }
    const LogicalPoint p = scale_.ToLogical(position);
    port_.ReleaseMouse();
    capturing_ = false;
    if (drawingWire_) {
        FinishWire(p);
    } else if (rubberBand_) {
        SelectInRubberBand(p);
    } else if (circuit().pointSelected() && tool() != Tool::Selection) {
        MergeDraggedPoint(p);
    } else if (circuit().SelectedCount() == 1) {
        JoinClickedElement();
    }
    EndGesture();
}

// Wires are drawn only between two existing points that are not joined yet.
void EditController::FinishWire(LogicalPoint position) {
    drawingWire_ = false;
    port_.Repaint();  // the rubber wire goes
    CircuitPoint* end = WireEndAt(position);
    if (end == nullptr) {
        return;
    }
    TakeCheckpoint();
    circuit().AddElement(DefaultRecord(ElementKind::Wire), wireStart_, end);
    gestureEdit_->Changed(EditChange::Circuit);
}

void EditController::SelectInRubberBand(LogicalPoint position) {
    for (CircuitElement& element : circuit().elements()) {
        if (InsideRectangle(dragStart_, position, ElementMidpoint(element))) {
            circuit().Select(&element);
        }
    }
    rubberBand_ = false;
    port_.Repaint();
}

void EditController::MergeDraggedPoint(LogicalPoint position) {
    CircuitPoint* point = circuit().selectedPoint();
    CircuitPoint* into = MergeTargetAt(position);
    if (into == nullptr) {
        return;
    }
    TakeCheckpoint();
    MergePoints(circuit(), point, into);
    gestureEdit_->Changed(EditChange::Circuit);
}

void EditController::JoinClickedElement() {
    CircuitElement* element = circuit().selection().front();
    if (!FindLooseEndTargets(circuit(), *element, scale_).any()) {
        return;
    }
    TakeCheckpoint();  // a click without a drag has none yet
    JoinLooseEnds(circuit(), element, scale_);
    gestureEdit_->Changed(EditChange::Circuit);
}

void EditController::CaptureLost() {
    if (capturing_) {
        capturing_ = false;  // the mouse is gone already: nothing to release
        EndGesture();
        port_.Repaint();
    }
}

// --- Double-click ------------------------------------------------------------------------------

// Acts on the element that the double-click's first click selected.
void EditController::DoubleClick(DevicePoint position) {
    if (circuit().SelectedCount() != 1) {
        return;
    }
    CircuitElement* element = circuit().selection().front();
    const Tool current = tool();
    if (IsWire(element->kind) && current != Tool::Selection) {
        EditWire(element, scale_.ToLogical(position));
    } else if (element->kind == ElementKind::Switch &&
               (current == Tool::Selection || current == Tool::Wire || current == Tool::Switch)) {
        ScopedEdit edit(document_);
        ToggleSwitch(*element);
        edit.Commit(EditChange::Circuit);
    } else {
        EditDetailsOf(element);
    }
}

void EditController::EditWire(CircuitElement* wire, LogicalPoint position) {
    ScopedEdit edit(document_);
    if (noDiagonalWires_) {
        FlipWireBend(*wire);
        edit.Commit(EditChange::Geometry);
    } else {
        SplitWire(circuit(), wire, position);  // the click itself, not snapped
        edit.Commit(EditChange::Circuit);
    }
}

void EditController::EditDetailsOf(CircuitElement* element) {
    DetailsValues initial{element->resistance, element->emf, DetailsCurrent(element->current)};
    initial.currentHidden = readingsHidden_;
    if (readingsHidden_) {
        initial.current = 0.0;
    }
    initial.negativeResistanceAllowed = NegativeResistanceAllowed(element->kind);
    const std::uint64_t replacementsBefore = replacements_;
    port_.RequestDetails(initial, [this, element, replacementsBefore](
                                      const std::optional<DetailsValues>& entered) {
        // A modal dialog runs its own event loop and a browser's answers later: either way
        // a command may have replaced the circuit, and the element with it, meanwhile.
        if (!entered || replacements_ != replacementsBefore ||
            !std::isfinite(entered->resistance) || !std::isfinite(entered->emf) ||
            !DetailsResistanceAllowed(element->kind, entered->resistance)) {
            return;
        }
        ScopedEdit edit(document_);
        element->resistance = entered->resistance;
        element->emf = entered->emf;
        edit.Commit(EditChange::Circuit);
    });
}

// --- Keys and view commands --------------------------------------------------------------------

void EditController::Nudge(Arrow arrow) {
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    switch (arrow) {
        case Arrow::Left:
            dx = -kNudgeStep;
            break;
        case Arrow::Up:
            dy = kNudgeStep;  // y grows upward
            break;
        case Arrow::Right:
            dx = kNudgeStep;
            break;
        case Arrow::Down:
            dy = -kNudgeStep;
            break;
    }
    Circuit& live = circuit();
    if (!live.pointSelected() && live.SelectedCount() == 0) {
        return;
    }
    ScopedEdit edit(document_);
    if (live.pointSelected()) {
        MovePoint(*live.selectedPoint(), dx, dy);
    } else {
        MoveMarkedPoints(live, dx, dy);
    }
    edit.Commit(EditChange::Geometry);
}

void EditController::SelectAll() {
    circuit().ClearPointSelection();
    for (CircuitElement& element : circuit().elements()) {
        circuit().Select(&element);
    }
    port_.Repaint();
}

void EditController::ToggleGrid() {
    showGrid_ = !showGrid_;
    port_.Repaint();
}

// --- What the view paints over the circuit -----------------------------------------------------

std::optional<EditController::RubberLine> EditController::rubberWire() const {
    if (!capturing_ || !drawingWire_ || dragPending_) {
        return std::nullopt;
    }
    return RubberLine{dragStart_, dragCurrent_};
}

std::optional<EditController::RubberRect> EditController::rubberBand() const {
    if (!capturing_ || !rubberBand_) {
        return std::nullopt;
    }
    return RubberRect{dragStart_, dragCurrent_};
}

// --- What a press would do ----------------------------------------------------------------------

void EditController::Hover(DevicePoint position, bool shift) {
    hover_ = position;
    hoverShift_ = shift;
}

void EditController::HoverLeft() {
    hover_.reset();
}

std::optional<PressPreview> EditController::hoverPreview() const {
    if (capturing_ || !hover_) {
        return std::nullopt;
    }
    return PreviewPress(*hover_, hoverShift_);
}

CircuitPoint* EditController::WireEndAt(LogicalPoint position) const {
    return NearestFreePoint(document_.circuit(), position, wireStart_, kWireEndTolerance,
                            Limit::Exclusive, scale_);
}

CircuitPoint* EditController::MergeTargetAt(LogicalPoint position) const {
    Circuit& live = document_.circuit();
    return NearestFreePoint(live, position, live.selectedPoint(), kMagnetTolerance,
                            Limit::Inclusive, scale_);
}

// The same cases, in the same order, as Release.
const CircuitPoint* EditController::releaseTarget() const {
    if (!capturing_) {
        return nullptr;
    }
    if (drawingWire_) {
        return WireEndAt(lastMouse_);
    }
    if (!rubberBand_ && document_.circuit().pointSelected() && tool() != Tool::Selection) {
        return MergeTargetAt(lastMouse_);
    }
    return nullptr;
}

std::string EditController::prompt() const {
    if (capturing_) {
        if (drawingWire_) {
            return WireReleasePrompt(releaseTarget() != nullptr);
        }
        if (!rubberBand_ && document_.circuit().pointSelected()) {
            return PointReleasePrompt(releaseTarget() != nullptr);
        }
        return {};
    }
    if (const std::optional<PressPreview> preview = hoverPreview()) {
        return PressPrompt(preview->action, tool());
    }
    return {};
}

// --- The gesture -------------------------------------------------------------------------------

void EditController::TakeMouse() {
    port_.CaptureMouse();
    capturing_ = true;
}

void EditController::TakeCheckpoint() {
    if (!gestureEdit_) {
        gestureEdit_ = std::make_unique<ScopedEdit>(document_);
    }
}

// The gesture's edit ends last, as one undo step; a gesture that changed nothing (a wire
// released over empty space) leaves none.
void EditController::EndGesture() {
    if (capturing_) {
        port_.ReleaseMouse();
        capturing_ = false;
    }
    rubberBand_ = false;
    drawingWire_ = false;
    dragPending_ = false;
    wireStart_ = nullptr;
    if (const std::unique_ptr<ScopedEdit> edit = std::move(gestureEdit_)) {
        edit->Commit();
    }
}

void EditController::SetReadingsHidden(bool hidden) {
    if (readingsHidden_ != hidden) {
        readingsHidden_ = hidden;
        RefreshStatus();
    }
}

void EditController::RefreshStatus() {
    if (!document_.shortCircuit()) {
        port_.SetStatusText(StatusLine());
    }
}

void EditController::SetLargeCurrentWarning(bool on) {
    if (warnLargeCurrent_ != on) {
        warnLargeCurrent_ = on;
        RefreshStatus();
    }
}

// The summary, then a sentence about a large current (a reading: hidden with the others).
std::string EditController::StatusLine() const {
    std::string line = SelectionSummary(document_.circuit(), readingsHidden_);
    if (warnLargeCurrent_ && !readingsHidden_) {
        const std::string warning = LargeCurrentSentence(document_.circuit());
        if (!warning.empty()) {
            line += line.empty() ? "" : "   ";
            line += warning;
        }
    }
    return line;
}

void EditController::OnDocumentEvent(DocumentEvent event) {
    if (event == DocumentEvent::Repaint) {
        RefreshStatus();
    }
    if (event != DocumentEvent::CircuitReplaced) {
        return;
    }
    ++replacements_;
    if (capturing_) {
        EndGesture();
        port_.Repaint();  // the rubber wire or rectangle goes
    }
}

}  // namespace kelno
