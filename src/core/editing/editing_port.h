#pragma once

#include <functional>
#include <optional>
#include <string_view>

namespace kelno {

// The values of one element as the details dialog shows them. The current is shown only;
// the dialog never writes it back.
struct DetailsValues {
    double resistance = 0.0;
    double emf = 0.0;
    double current = 0.0;
    // While pupils predict the readings the current box stays empty and is not read.
    bool currentHidden = false;
    // Only a switch, whose resistance is its open flag, may take a resistance below zero.
    bool negativeResistanceAllowed = false;
    bool operator==(const DetailsValues&) const = default;
};

// What the editing state machine needs of the window it edits in. The editor's view
// implements it with Qt; tests implement it with a recorder, so that whole gestures can be
// played without any window.
class EditingPort {
public:
    virtual ~EditingPort() = default;

    // Puts a text (UTF-8) into the message pane of the status bar.
    virtual void SetStatusText(std::string_view text) = 0;
    // Keeps every mouse move and the release for the view until ReleaseMouse, also when
    // the mouse leaves the window; one press takes it for one gesture.
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    // The view must be drawn again: the selection or the rubber line or rectangle moved.
    // (Changes of the circuit reach the view through the document as well.)
    virtual void Repaint() = 0;
    // Asks for an element's values with the details dialog, showing `initial`, and calls
    // `done` once with the values entered on OK, or nothing when the user cancelled. A
    // modal dialog answers before this returns; a browser's dialog, which cannot block,
    // answers later. `done` must not be called after the controller has gone.
    using DetailsDone = std::function<void(const std::optional<DetailsValues>& entered)>;
    virtual void RequestDetails(const DetailsValues& initial, DetailsDone done) = 0;
};

}  // namespace kelno
