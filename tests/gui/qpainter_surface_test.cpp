#include "qpainter_surface.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "gui/picture_support.h"

namespace kelno {
namespace {

using testing::PixelOf;

const ViewScale kScreen = ViewScale::FromDpi(96, 96);

QImage WhiteImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

struct InkBox {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

InkBox FindInk(const QImage& image) {
    InkBox box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    return box;
}

int InkInRow(const QImage& image, int y) {
    int count = 0;
    for (int x = 0; x < image.width(); ++x) {
        count += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
    return count;
}

TEST(QPainterSurface, TextStandsUprightBelowAndCentredOnItsAnchor) {
    QImage image = WhiteImage(200, 100);
    {
        QPainter painter(&image);
        QPainterSurface surface(painter, kScreen, Qt::white);
        surface.SelectFont({80, 400});               // 8 mm: 30 pixels
        surface.DrawTextTopCentre({265, -79}, "T");  // device pixel (100, 30)
    }
    const QPoint anchor = PixelOf(kScreen, 265, -79);
    const InkBox ink = FindInk(image);
    ASSERT_GE(ink.right, 0) << "no text drawn";
    // The glyph hangs below the anchor, within the font's height.
    EXPECT_GE(ink.top, anchor.y() - 1);
    EXPECT_LE(ink.top, anchor.y() + 10);
    EXPECT_LE(ink.bottom, anchor.y() + 31);
    EXPECT_GE(ink.bottom, anchor.y() + 15);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, anchor.x(), 2.0);
    // Upright: the bar of the T is on top.
    EXPECT_GT(InkInRow(image, ink.top), 3 * InkInRow(image, ink.bottom));
}

TEST(QPainterSurface, TextUsesTheSelectedColour) {
    QImage image = WhiteImage(200, 100);
    {
        QPainter painter(&image);
        QPainterSurface surface(painter, kScreen, Qt::white);
        surface.SetTextColor({255, 0, 0});
        surface.DrawTextTopCentre({265, -79}, "OFF");
    }
    bool red = false;
    for (int y = 0; y < image.height() && !red; ++y) {
        for (int x = 0; x < image.width() && !red; ++x) {
            red = image.pixelColor(x, y) == QColor(255, 0, 0);
        }
    }
    EXPECT_TRUE(red);
}

TEST(QPainterSurface, LabelFontWritesJapanese) {
    const QFont font = QPainterSurface::LabelFont(14);
    const QFontMetrics metrics(font);
    for (const char32_t c : {U'危', U'険', U'ｽ', U'Ω'}) {
        EXPECT_TRUE(metrics.inFontUcs4(c)) << QFontInfo(font).family().toStdString();
    }
}

TEST(QPainterSurface, RectanglesUseThePenAndTheBrush) {
    QImage image = WhiteImage(100, 100);
    {
        QPainter painter(&image);
        QPainterSurface surface(painter, ViewScale(1.0, 1.0), Qt::white);
        surface.SelectBrush({{0, 128, 0}});
        surface.SelectPen({{0, 0, 255}, 0});
        surface.DrawRectangle({10, -10, 50, -40});  // corners in any order
    }
    EXPECT_EQ(image.pixelColor(30, 25), QColor(0, 128, 0));
    EXPECT_EQ(image.pixelColor(10, 25), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(30, 40), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(5, 25), QColor(Qt::white));
}

TEST(QPainterSurface, FilledPolygonHasNoOutline) {
    QImage image = WhiteImage(100, 100);
    {
        QPainter painter(&image);
        QPainterSurface surface(painter, ViewScale(1.0, 1.0), Qt::white);
        surface.SelectPen({{255, 0, 0}, 0});
        surface.SelectBrush({{0, 0, 0}});
        const DrawPoint triangle[] = {{10, -10}, {90, -10}, {10, -90}};
        surface.FillPolygon(triangle);
    }
    EXPECT_EQ(image.pixelColor(30, 30), QColor(Qt::black));
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            ASSERT_NE(image.pixelColor(x, y), QColor(255, 0, 0)) << x << ", " << y;
        }
    }
}

TEST(QPainterSurface, PainterIsGivenBackAsItWas) {
    QImage image = WhiteImage(50, 50);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::green, 3));
    painter.setBrush(Qt::blue);
    painter.translate(7, 9);
    const QFont font = painter.font();
    {
        QPainterSurface surface(painter, kScreen, Qt::white);
        surface.SelectPen({{255, 0, 0}, 2});
        surface.SelectFont({80, 700});
        surface.DrawLine({0, 0}, {100, -100});
        surface.DrawTextTopCentre({50, -50}, "ON");
    }
    EXPECT_EQ(painter.pen(), QPen(Qt::green, 3));
    EXPECT_EQ(painter.brush(), QBrush(Qt::blue));
    EXPECT_EQ(painter.font(), font);
    EXPECT_EQ(painter.transform(), QTransform::fromTranslate(7, 9));
}

TEST(QPainterSurface, PixelSizesFollowTheScale) {
    QImage image = WhiteImage(10, 10);
    QPainter painter(&image);
    QPainterSurface screen(painter, kScreen, Qt::white);
    EXPECT_EQ(screen.PixelsToLogical(35), (LogicalSize{93, 93}));
    QPainterSurface printer(painter, ViewScale::FromDpi(600, 300), Qt::white);
    EXPECT_EQ(printer.PixelsToLogical(15), (LogicalSize{6, 13}));
}

// One step of a drawing: the pen, brush or text colour it sets, if any, and what it draws.
struct DrawStep {
    std::optional<Pen> pen;
    std::optional<Brush> brush;
    std::optional<Color> text;
    std::function<void(DrawSurface&)> draw;
};

// A surface sets the painter's pen and brush only when the next figure needs others than the
// last; drawn step by step on fresh surfaces, each given the state so far, the same picture.
TEST(QPainterSurface, KeepingThePenBetweenFiguresChangesNoPixel) {
    const std::array<DrawPoint, 3> triangle{DrawPoint{100, -100}, DrawPoint{500, -100},
                                            DrawPoint{300, -400}};
    const auto line = [](DrawPoint a, DrawPoint b) {
        return [a, b](DrawSurface& s) { s.DrawLine(a, b); };
    };
    const auto label = [](DrawPoint at, const char* text) {
        return [at, text](DrawSurface& s) { s.DrawTextTopCentre(at, text); };
    };
    const std::vector<DrawStep> steps{
        {Pen{{200, 0, 0}, 0}, {}, {}, line({0, -50}, {700, -50})},
        {{}, {}, {}, line({0, -60}, {700, -300})},
        {{}, Brush{{0, 0, 200}}, {}, [&](DrawSurface& s) { s.FillPolygon(triangle); }},
        {{}, {}, {}, line({0, -450}, {700, -450})},  // the outline again after a fill
        {{},
         {},
         {},
         [](DrawSurface& s) {
             s.FillRect({600, -20, 700, -90}, {9, 9, 9});
         }},
        {{}, {}, {}, [&](DrawSurface& s) { s.FillPolygon(std::span(triangle).first(3)); }},
        {{}, {}, {}, line({0, -470}, {700, -470})},  // a fill between two lines
        {{}, {}, Color{0, 150, 0}, label({300, -150}, "10Ω")},
        {{}, {}, {}, line({50, -500}, {650, -200})},  // the pen again after a text
        {{}, {}, {}, label({500, -300}, "OFF")},
        {{}, {}, Color{0, 0, 0}, label({150, -350}, "危険")},
        {Pen{{0, 120, 120}, 10},
         {},
         {},
         [](DrawSurface& s) {
             s.DrawEllipse({400, -200, 600, -400});
         }},
        {{},
         Brush{{250, 250, 0}},
         {},
         [](DrawSurface& s) {
             s.DrawRectangle({20, -20, 120, -120});
         }},
    };
    QImage kept = WhiteImage(280, 200);
    QImage fresh = kept;
    {
        QPainter painter(&kept);
        QPainterSurface surface(painter, kScreen, Qt::white);
        for (const DrawStep& step : steps) {
            step.pen ? (void)surface.SelectPen(*step.pen) : void();
            step.brush ? (void)surface.SelectBrush(*step.brush) : void();
            step.text ? (void)surface.SetTextColor(*step.text) : void();
            step.draw(surface);
        }
    }
    {
        QPainter painter(&fresh);
        Pen pen;
        Brush brush;
        Color text;
        for (const DrawStep& step : steps) {
            pen = step.pen.value_or(pen);
            brush = step.brush.value_or(brush);
            text = step.text.value_or(text);
            QPainterSurface surface(painter, kScreen, Qt::white);
            surface.SelectPen(pen);
            surface.SelectBrush(brush);
            surface.SetTextColor(text);
            step.draw(surface);
        }
    }
    EXPECT_EQ(kept, fresh);
}

// Labels wholly outside a picture are skipped, but one that crosses its edge is drawn: the
// small picture is exactly the corner of a larger one with the same labels.
TEST(QPainterSurface, LabelsAcrossThePicturesEdgeAreDrawn) {
    const auto draw = [](QImage& image) {
        QPainter painter(&image);
        QPainterSurface surface(painter, kScreen, Qt::white);
        // The small picture is 120 x 80 pixels: 317 x 212 logical units at 96 dpi.
        for (const DrawPoint at :
             {DrawPoint{317, -100}, DrawPoint{330, -60}, DrawPoint{150, -205}, DrawPoint{160, -225},
              DrawPoint{325, -215}, DrawPoint{700, -400}}) {
            surface.DrawTextTopCentre(at, "危険 10Ω");
        }
    };
    QImage small = WhiteImage(120, 80);
    QImage large = WhiteImage(400, 300);
    draw(small);
    draw(large);
    EXPECT_EQ(small, large.copy(0, 0, 120, 80));
    EXPECT_LT(FindInk(small).right, 120);
    EXPECT_GE(FindInk(small).right, 110) << "the labels on the right edge should show";
}

}  // namespace
}  // namespace kelno
