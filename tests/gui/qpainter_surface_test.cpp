#include "qpainter_surface.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

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

}  // namespace
}  // namespace kelno
