#pragma once

#include "model/circuit_element.h"
#include "render/draw_surface.h"
#include "render/element_frame.h"

namespace kelno {

// The symbols of the components, drawn over the element's lead line with their state and
// value labels. Each leaves the surface's pen, brush and text colour as it found them.
// With `hideReadings` a symbol shows nothing that depends on the element's current.
void DrawBattery(const CircuitElement& battery, DrawSurface& surface, const ElementFrame& frame,
                 bool hideReadings = false);
void DrawResistor(const CircuitElement& resistor, DrawSurface& surface, const ElementFrame& frame);
void DrawMeter(const CircuitElement& meter, DrawSurface& surface, const ElementFrame& frame,
               bool hideReadings = false);
void DrawBulb(const CircuitElement& bulb, DrawSurface& surface, const ElementFrame& frame,
              bool hideReadings = false);
void DrawSwitch(const CircuitElement& switchElement, DrawSurface& surface,
                const ElementFrame& frame);

// A bulb's brightness: 0 below 0.25 W, 1 below 1.0 W, 2 from 1.0 W on.
int BulbLevel(double power);

}  // namespace kelno
