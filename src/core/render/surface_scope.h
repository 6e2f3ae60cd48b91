#pragma once

#include "render/draw_surface.h"

namespace kelno {

// Selects a pen, brush, font or text colour into a surface for one block and puts back what
// was there before, whichever way the block is left.
template <class Value, Value (DrawSurface::*Select)(const Value&)>
class SurfaceScope {
public:
    SurfaceScope(DrawSurface& surface, const Value& value)
        : surface_(surface), previous_((surface.*Select)(value)) {}
    ~SurfaceScope() { (surface_.*Select)(previous_); }
    SurfaceScope(const SurfaceScope&) = delete;
    SurfaceScope& operator=(const SurfaceScope&) = delete;

private:
    DrawSurface& surface_;
    Value previous_;
};

using PenScope = SurfaceScope<Pen, &DrawSurface::SelectPen>;
using BrushScope = SurfaceScope<Brush, &DrawSurface::SelectBrush>;
using FontScope = SurfaceScope<Font, &DrawSurface::SelectFont>;

class TextColorScope {
public:
    TextColorScope(DrawSurface& surface, Color color)
        : surface_(surface), previous_(surface.SetTextColor(color)) {}
    ~TextColorScope() { surface_.SetTextColor(previous_); }
    TextColorScope(const TextColorScope&) = delete;
    TextColorScope& operator=(const TextColorScope&) = delete;

private:
    DrawSurface& surface_;
    Color previous_;
};

}  // namespace kelno
