#include "editing/edit_controller.h"

// The window-facing interface of the editing state machine. The gestures themselves are
// being built; until then presses, moves and keys leave the circuit alone.

namespace kelno {

EditController::EditController(Document& document, EditingPort& port, const ViewScale& scale)
    : document_(document), port_(port), scale_(scale) {}

EditController::~EditController() = default;

void EditController::SetScale(const ViewScale& scale) {
    scale_ = scale;
}

void EditController::Press(DevicePoint, bool) {}
void EditController::Move(DevicePoint) {}
void EditController::Release(DevicePoint) {}
void EditController::DoubleClick(DevicePoint) {}
void EditController::CaptureLost() {
    capturing_ = false;
}

void EditController::Nudge(Arrow) {}
void EditController::SelectAll() {}

void EditController::ToggleGrid() {
    showGrid_ = !showGrid_;
    port_.Repaint();
}

std::optional<EditController::RubberLine> EditController::rubberWire() const {
    return std::nullopt;
}

std::optional<EditController::RubberRect> EditController::rubberBand() const {
    return std::nullopt;
}

}  // namespace kelno
