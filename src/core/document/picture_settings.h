#pragma once

#include <optional>

#include "document/document.h"
#include "render/classroom_layers.h"
#include "render/draw_circuit.h"
#include "view/view_scale.h"

namespace kelno {

// What a picture of a document shows besides the document's own options.
struct PictureOptions {
    bool showGrid = false;
    bool hideCurrentFlow = false;  // no arrows even where the document shows them
    // The program's option that wires run at right angles, as the document's owner holds it.
    bool noDiagonalWires = false;
    ClassroomOptions classroom;
    LogicalSize extent;  // the drawing area in logical units, which the grid covers
    // The scale of the view whose warning signs the picture carries; a picture without one
    // has none.
    std::optional<ViewScale> warningsAt;
};

// The drawing settings of a picture of `document` as it stands after its last analysis:
// the one place where a document, its last analysis and the picture's options meet. The
// editor's view, its prints and exports, kelno-cli and the web page all draw with these.
DrawSettings PictureSettings(const Document& document, const PictureOptions& options);

}  // namespace kelno
