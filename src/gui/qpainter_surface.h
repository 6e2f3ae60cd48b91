#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QString>
#include <optional>

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

    // Lines of pens of width 0 this many painter pixels wide instead of one device pixel, so
    // that a magnified view or a screen of two device pixels to the pixel draws them thicker.
    // 0 keeps them one device pixel wide.
    void SetThinLineWidth(qreal width) {
        thinLineWidth_ = width;
        tools_ = Tools::Unknown;
    }

    // The label font for a pixel height: a Japanese-capable gothic face.
    static QFont LabelFont(int pixelHeight);

private:
    QPointF ToDevice(DrawPoint point) const;
    QRectF ToDevice(const DrawRect& rect) const;
    QPolygonF ToDevice(std::span<const DrawPoint> points) const;
    void UseOutline();
    void UseFill();
    qreal TextWidth(const QString& text);
    bool OutsideRaster(const QRectF& area) const;

    // What the painter's pen and brush were last set up for, so that a run of lines with
    // the same pen sets it once: anything that changes them makes this Unknown.
    enum class Tools { Unknown, Outline, Fill, Text };

    QPainter& painter_;
    ViewScale scale_;
    QColor background_;
    Pen pen_;
    Brush brush_;
    Font font_;
    Color textColor_;
    Tools tools_ = Tools::Unknown;
    qreal thinLineWidth_ = 0.0;
    // The label font's measures, and the widths of the labels met so far in it: a circuit
    // repeats few labels, and measuring one means shaping it.
    std::optional<QFontMetricsF> metrics_;
    QHash<QString, qreal> widths_;
    // The picture's area in device pixels when the painter fills pixels (not a page or an
    // SVG file), where a label wholly outside it need not be laid out at all.
    std::optional<QRectF> rasterArea_;
};

}  // namespace kelno
