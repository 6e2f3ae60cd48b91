#pragma once

#include "document/document.h"
#include "render/classroom_layers.h"
#include "render/draw_circuit.h"

namespace kelno {

// What a picture of a document shows besides the document's own options.
struct PictureOptions {
    bool showGrid = false;
    bool hideCurrentFlow = false;  // no arrows even where the document shows them
    ClassroomOptions classroom;
    LogicalSize extent;  // the drawing area in logical units, which the grid covers
};

// The drawing settings of a picture of `document` as it stands after its last analysis:
// the one place where a document, its last analysis and the picture's options meet.
DrawSettings PictureSettings(const Document& document, const PictureOptions& options);

}  // namespace kelno
