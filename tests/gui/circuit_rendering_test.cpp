#include "circuit_rendering.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QPdfWriter>
#include <string>
#include <vector>

#include "gui/picture_support.h"

namespace kelno {
namespace {

using testing::AddElement;
using testing::ColorAt;
using testing::PixelOf;

const ViewScale kScreen = ViewScale::FromDpi(96, 96);

DrawSettings NoFlow() {
    DrawSettings settings;
    settings.showCurrentFlow = false;
    return settings;
}

struct GlassCase {
    double resistance;
    double current;
    QColor glass;
    bool sideRays;  // the horizontal rays of levels 1 and 2
};

TEST(RenderCircuitImage, BulbGlassHasTheColourOfItsLevel) {
    const GlassCase cases[] = {
        {5.0, 0.0, QColor(255, 255, 255), false}, {5.0, 0.1, QColor(255, 255, 230), false},
        {0.25, 1.0, QColor(255, 255, 170), true}, {1.0, 1.0, QColor(255, 255, 0), true},
        {5.0, -0.6, QColor(255, 255, 0), true},
    };
    for (const GlassCase& c : cases) {
        Circuit circuit;
        AddElement(circuit, ElementKind::Bulb, 600, 1000, -1000, c.resistance, 0.0, c.current);
        const QImage image = RenderCircuitImage(circuit, NoFlow(), QSize(500, 500));
        // Inside the glass, clear of the filament: (cx + 28, cy + 90).
        EXPECT_EQ(ColorAt(image, PixelOf(kScreen, 828, -910)), c.glass)
            << c.resistance << " " << c.current;
        // Half way along the right-hand side ray, which levels 1 and 2 have.
        const QColor ray = ColorAt(image, PixelOf(kScreen, 874, -928));
        EXPECT_EQ(ray == QColor(Qt::black), c.sideRays) << c.resistance << " " << c.current;
    }
}

TEST(RenderCircuitImage, BatteryDrivenBackwardsIsLightRed) {
    struct Case {
        double current;
        QColor body;
    };
    for (const Case& c : {Case{-0.3, QColor(255, 192, 192)}, Case{0.3, QColor(192, 255, 192)},
                          Case{0.0, QColor(192, 255, 192)}}) {
        Circuit circuit;
        AddElement(circuit, ElementKind::Battery, 600, 1000, -1000, 0.1, 1.5, c.current);
        const QImage image = RenderCircuitImage(circuit, NoFlow(), QSize(500, 500));
        // In the body, below the lead line and left of the warning text.
        EXPECT_EQ(ColorAt(image, PixelOf(kScreen, 740, -1030)), c.body) << c.current;
    }
}

TEST(RenderCircuitImage, PictureHasTheAskedSizeOnWhite) {
    Circuit circuit;
    AddElement(circuit, ElementKind::Resistor, 100, 500, -100, 100.0, 0.0, 0.0);
    for (const QSize size : {QSize(401, 3), QSize(1, 1), QSize(640, 480)}) {
        const QImage image = RenderCircuitImage(circuit, NoFlow(), size);
        ASSERT_EQ(image.size(), size);
        EXPECT_EQ(image.pixelColor(size.width() - 1, size.height() - 1), QColor(Qt::white));
    }
    EXPECT_TRUE(RenderCircuitImage(circuit, NoFlow(), QSize(0, 10)).isNull());
    EXPECT_TRUE(RenderCircuitImage(circuit, NoFlow(), QSize(10, -1)).isNull());
}

TEST(RenderCircuitImage, GridCoversTheWholePicture) {
    Circuit circuit;
    DrawSettings settings = NoFlow();
    settings.showGrid = true;
    const QSize size(300, 200);
    settings.gridExtent = LogicalExtent(size, kScreen);
    const QImage image = RenderCircuitImage(circuit, settings, size);
    const QColor grid(180, 180, 180);
    EXPECT_EQ(ColorAt(image, QPoint(PixelOf(kScreen, 50, 0).x(), 100)), grid);
    EXPECT_EQ(ColorAt(image, QPoint(PixelOf(kScreen, 750, 0).x(), 190)), grid);
    EXPECT_EQ(ColorAt(image, QPoint(290, PixelOf(kScreen, 0, -500).y())), grid);
    EXPECT_EQ(ColorAt(image, QPoint(PixelOf(kScreen, 25, 0).x(), 100)), QColor(Qt::white));
}

// The outline of grey (selection mark) pixels: its width in pixels.
int MarkWidth(const QImage& image) {
    int left = image.width();
    int right = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == QColor(128, 128, 128)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return right - left + 1;
}

TEST(PaintCircuit, SelectionMarksKeepTheirPixelSizeAtEveryResolution) {
    for (const int dpi : {96, 192, 300}) {
        Circuit circuit;
        circuit.Select(AddElement(circuit, ElementKind::Wire, 100, 300, -200, 0.0, 0.0, 0.0));
        QImage image(400, 400, QImage::Format_RGB32);
        image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254 + 0.5));
        image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254 + 0.5));
        QPainter painter(&image);
        PaintCircuit(painter, ScaleOf(image), image.rect(), Qt::white, circuit, NoFlow());
        painter.end();
        // 35 pixels to either side of the midpoint, whatever the scale.
        EXPECT_NEAR(MarkWidth(image), 71, 1) << dpi << " dpi";
    }
}

// The columns of black pixels in one row.
std::vector<int> BlackColumns(const QImage& image, int y) {
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, y) == QColor(Qt::black)) {
            columns.push_back(x);
        }
    }
    return columns;
}

TEST(PaintCircuit, DrawsAtTrueSizeOnAFineDevice) {
    // A switch's box is a component body: 16 mm long, so 378 pixels at 600 dpi.
    Circuit circuit;
    AddElement(circuit, ElementKind::Switch, 0, 400, -500, 0.0, 0.0, 0.0);
    QImage image(800, 1600, QImage::Format_RGB32);
    image.setDotsPerMeterX(23622);  // 600 dpi
    image.setDotsPerMeterY(23622);
    const ViewScale scale = ScaleOf(image);
    EXPECT_NEAR(scale.pixelsPerUnitX(), 600.0 / 254.0, 1e-9);
    QPainter painter(&image);
    PaintCircuit(painter, scale, image.rect(), Qt::white, circuit, NoFlow());
    painter.end();
    const std::vector<int> edges = BlackColumns(image, PixelOf(scale, 0, -465).y());
    ASSERT_GE(edges.size(), 2u);
    EXPECT_NEAR(edges.back() - edges.front(), 378, 2);
    EXPECT_NEAR(edges.front(), 283, 2);  // 12 mm from the left edge
}

TEST(ScaleOf, PrinterResolutionGivesTheScale) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(300);
    EXPECT_NEAR(ScaleOf(writer).pixelsPerUnitX(), 300.0 / 254.0, 1e-9);
    EXPECT_NEAR(ScaleOf(writer).pixelsPerUnitY(), 300.0 / 254.0, 1e-9);
}

TEST(PrintCircuitPage, WritesOnePageAndReportsShort) {
    Circuit circuit;
    AddElement(circuit, ElementKind::Battery, 100, 500, -300, 0.0, 1.5, 0.0);
    DrawSettings settings;
    settings.shortCircuit = true;
    std::vector<std::string> status;
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        std::string error;
        ASSERT_TRUE(PrintCircuitPage(
            writer, circuit, settings, [&](std::string_view text) { status.emplace_back(text); },
            error))
            << error;
    }
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.contains("/Count 1"));
    EXPECT_EQ(status, std::vector<std::string>{"Short"});
}

TEST(PrintCircuitPage, SaysWhyWhenThePageCannotBeOpened) {
    Circuit circuit;
    QPdfWriter writer(QStringLiteral("/nonexistent-kelno-folder/page.pdf"));
    std::string error;
    EXPECT_FALSE(PrintCircuitPage(writer, circuit, DrawSettings{}, {}, error));
    EXPECT_FALSE(error.empty());
}

TEST(ToRgbImage, DropsTheRowPaddingOfQImage) {
    QImage image(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            image.setPixelColor(x, y, QColor(10 * x, 100 + y, 200));
        }
    }
    const RgbImage rgb = ToRgbImage(image);
    ASSERT_EQ(rgb.width, 3);
    ASSERT_EQ(rgb.height, 2);
    const std::vector<std::uint8_t> expected{0, 100, 200, 10, 100, 200, 20, 100, 200,
                                             0, 101, 200, 10, 101, 200, 20, 101, 200};
    EXPECT_EQ(rgb.rgb, expected);
}

}  // namespace
}  // namespace kelno
