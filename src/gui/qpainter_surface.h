#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>

#include "render/draw_surface.h"
#include "view/view_scale.h"

namespace kelno {

// The drawing surface on a QPainter: the screen, an off-screen picture or a printer page.
// Logical units (0.1 mm, y up, origin at the top-left corner of the painted area) become
// device pixels through `scale`; texts stay upright. The painter's state is restored when
// the surface goes away.
class QPainterSurface : public DrawSurface {
public:
    // The height of the label font in logical units: 3.6 mm, about 14 pixels on a 96 dpi
    // screen, so that "OFF" fits into a switch and "危険" into a battery.
    static constexpr int kLabelHeight = 36;

    QPainterSurface(QPainter& painter, const ViewScale& scale, QColor background);
    ~QPainterSurface() override;
    QPainterSurface(const QPainterSurface&) = delete;
    QPainterSurface& operator=(const QPainterSurface&) = delete;

    Pen SelectPen(const Pen& pen) override;
    Brush SelectBrush(const Brush& brush) override;
    Font SelectFont(const Font& font) override;
    Color SetTextColor(Color color) override;
    Color BackgroundColor() const override;

    void DrawLine(DrawPoint from, DrawPoint to) override;
    void DrawPolyline(std::span<const DrawPoint> points) override;
    void DrawRectangle(const DrawRect& rect) override;
    void DrawEllipse(const DrawRect& bounds) override;
    void FillPolygon(std::span<const DrawPoint> points) override;
    void FillRect(const DrawRect& rect, Color color) override;
    void DrawTextTopCentre(DrawPoint anchor, std::string_view text) override;

    LogicalSize PixelsToLogical(int pixels) const override;

    // The label font for a pixel height: a Japanese-capable gothic face.
    static QFont LabelFont(int pixelHeight);

private:
    QPointF ToDevice(DrawPoint point) const;
    QRectF ToDevice(const DrawRect& rect) const;
    QPolygonF ToDevice(std::span<const DrawPoint> points) const;
    void UseOutline();
    void UseFill();

    QPainter& painter_;
    ViewScale scale_;
    QColor background_;
    Pen pen_;
    Brush brush_;
    Font font_;
    Color textColor_;
};

}  // namespace kelno
