#include "command_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <array>
#include <initializer_list>
#include <string_view>

#include "command_table.h"

namespace kelno {

namespace {

// Every icon is drawn on a grid of 16 x 15 icon pixels. The painter's device pixel ratio
// (1 or 2) maps them to device pixels; shapes run through pixel centres so that a line one
// icon pixel wide covers whole device pixels at both sizes. Curves and slants are smoothed
// only at twice the size, where there are pixels enough for it.
constexpr int kIconWidth = 16;
constexpr int kIconHeight = 15;

// The colours of the circuit's symbols, as the view draws them.
const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kBatteryGreen(192, 255, 192);
const QColor kAmmeterPink(255, 224, 224);
const QColor kVoltmeterBlue(224, 224, 255);
const QColor kBulbLit(255, 255, 0);
const QColor kSwitchOnBlue(0, 0, 255);

// Colours of the tool bar's other pictures.
const QColor kShadow(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kBlade(96, 96, 96);
const QColor kFolder(255, 224, 96);
const QColor kFolderDark(160, 112, 0);
const QColor kNavy(0, 0, 160);
const QColor kBoard(192, 128, 64);
const QColor kNote(255, 255, 192);
const QColor kLed(0, 192, 0);

using Rows = std::initializer_list<std::string_view>;

// One device pixel, in icon pixels: the finest line of the picture.
qreal Hair(const QPainter& p) {
    return 1.0 / p.device()->devicePixelRatioF();
}

QPointF Centre(QPointF cell) {
    return cell + QPointF(0.5, 0.5);
}

QPolygonF Centres(std::initializer_list<QPointF> cells) {
    QPolygonF polygon;
    for (const QPointF& cell : cells) {
        polygon << Centre(cell);
    }
    return polygon;
}

QPen Stroke(const QColor& colour, qreal width = 1.0) {
    return QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

// A rectangle of whole icon pixels with a one-pixel edge.
void Box(QPainter& p, int x, int y, int w, int h, const QColor& fill, const QColor& edge = kInk) {
    p.fillRect(QRectF(x, y, w, h), edge);
    p.fillRect(QRectF(x + 1, y + 1, w - 2, h - 2), fill);
}

void Fill(QPainter& p, int x, int y, int w, int h, const QColor& colour) {
    p.fillRect(QRectF(x, y, w, h), colour);
}

void Line(QPainter& p, std::initializer_list<QPointF> cells, const QColor& colour = kInk,
          qreal width = 1.0) {
    p.setPen(Stroke(colour, width));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(Centres(cells));
}

void Shape(QPainter& p, std::initializer_list<QPointF> cells, const QColor& fill,
           const QColor& edge = kInk) {
    p.setPen(Stroke(edge));
    p.setBrush(fill);
    p.drawPolygon(Centres(cells));
}

// An ellipse covering the cells from (x, y), w wide and h high, edge included.
void Oval(QPainter& p, int x, int y, int w, int h, const QColor& fill, const QColor& edge = kInk) {
    p.setPen(Stroke(edge));
    p.setBrush(fill);
    p.drawEllipse(QRectF(x + 0.5, y + 0.5, w - 1, h - 1));
}

// Letters and marks as pixel patterns: '#' is a pixel of `colour`.
void Glyph(QPainter& p, int x, int y, Rows rows, const QColor& colour) {
    int row = 0;
    for (const std::string_view line : rows) {
        for (std::size_t column = 0; column < line.size(); ++column) {
            if (line[column] == '#') {
                Fill(p, x + static_cast<int>(column), y + row, 1, 1, colour);
            }
        }
        ++row;
    }
}

// Lines of writing on a page: one device pixel high, so finer at twice the size.
void Writing(QPainter& p, int x, int y, int width, int lines, int spacing = 2) {
    for (int i = 0; i < lines; ++i) {
        p.fillRect(QRectF(x, y + i * spacing, width, Hair(p)), kShadow);
    }
}

void Page(QPainter& p, qreal x, qreal y, qreal w, qreal h) {
    const qreal fold = 3;
    Shape(p,
          {{x, y},
           {x + w - 1 - fold, y},
           {x + w - 1, y + fold},
           {x + w - 1, y + h - 1},
           {x, y + h - 1}},
          kPaper);
    Line(p, {{x + w - 1 - fold, y}, {x + w - 1 - fold, y + fold}, {x + w - 1, y + fold}});
}

// --- File and edit commands -------------------------------------------------------------

void DrawNew(QPainter& p) {
    Page(p, 2, 0, 12, 15);
}

void DrawOpen(QPainter& p) {
    // The back of the folder with its tab, and the front flap falling open.
    Shape(p, {{0, 3}, {1, 2}, {5, 2}, {6, 3}, {11, 3}, {11, 13}, {0, 13}}, kFolder, kFolderDark);
    Shape(p, {{0, 13}, {3, 7}, {15, 7}, {12, 13}}, kFolder.lighter(115), kFolderDark);
    // The arrow of opening.
    Line(p, {{9, 4}, {11, 1}, {14, 1}}, kInk);
    Line(p, {{12, 0}, {14, 1}, {13, 3}}, kInk);
}

void DrawSave(QPainter& p) {
    Box(p, 1, 0, 14, 15, kNavy);
    Box(p, 3, 0, 10, 7, kPaper);
    Writing(p, 5, 2, 6, 2);
    Box(p, 4, 10, 8, 5, kSilver);
    Fill(p, 6, 11, 2, 3, kNavy);
}

void DrawUndo(QPainter& p) {
    p.setPen(Stroke(kNavy, 2.0));
    p.setBrush(Qt::NoBrush);
    QPainterPath bend;
    bend.moveTo(5, 5);
    bend.lineTo(9, 5);
    bend.cubicTo(14, 5, 14, 13, 9, 13);
    bend.lineTo(6, 13);
    p.drawPath(bend);
    p.setPen(Qt::NoPen);
    p.setBrush(kNavy);
    p.drawPolygon(QPolygonF({QPointF(0, 5), QPointF(6, 0), QPointF(6, 10)}));
}

void DrawRedo(QPainter& p) {
    p.translate(kIconWidth, 0);
    p.scale(-1, 1);
    DrawUndo(p);
}

void DrawCut(QPainter& p) {
    Line(p, {{4, 9}, {10, 0}}, kBlade);
    Line(p, {{11, 9}, {5, 0}}, kBlade);
    Oval(p, 1, 9, 6, 6, Qt::transparent, kNavy);
    Oval(p, 9, 9, 6, 6, Qt::transparent, kNavy);
}

void DrawCopy(QPainter& p) {
    Page(p, 1, 0, 9, 11);
    Writing(p, 3, 4, 4, 3);
    Page(p, 6, 4, 9, 11);
    Writing(p, 8, 8, 4, 3);
}

void DrawPaste(QPainter& p) {
    Box(p, 1, 1, 11, 14, kBoard);
    Box(p, 4, 0, 5, 3, kSilver);
    Page(p, 6, 5, 9, 10);
    Writing(p, 8, 9, 4, 2);
}

void DrawPrint(QPainter& p) {
    Page(p, 4, 0, 8, 6);
    Box(p, 1, 5, 14, 7, kSilver);
    Fill(p, 11, 7, 2, 1, kLed);
    Box(p, 3, 10, 10, 5, kPaper);
    Writing(p, 5, 12, 6, 1);
}

void DrawOptions(QPainter& p) {
    // A small dialog with ticked boxes.
    Box(p, 0, 0, 16, 15, kSilver);
    Fill(p, 1, 1, 14, 2, kNavy);
    for (const int y : {4, 9}) {
        Box(p, 2, y, 5, 5, kPaper);
        Glyph(p, 3, y + 1, {"..#", "#.#", ".#."}, kInk);
        Fill(p, 8, y + 2, 6, 1, kInk);
    }
}

void DrawComment(QPainter& p) {
    // A speech balloon with writing in it.
    Shape(p,
          {{1, 0},
           {14, 0},
           {15, 1},
           {15, 9},
           {14, 10},
           {7, 10},
           {3, 14},
           {4, 10},
           {1, 10},
           {0, 9},
           {0, 1}},
          kNote);
    Writing(p, 3, 3, 10, 3);
}

void DrawAbout(QPainter& p) {
    Oval(p, 1, 0, 14, 14, kNavy, kNavy);
    Glyph(p, 5, 2, {".###.", "##.##", "...##", "..##.", "..#..", ".....", "..#..", "..#.."},
          kPaper);
    Fill(p, 6, 2, 1, 1, kPaper);
}

void DrawReveal(QPainter& p) {
    // An open eye: the hidden readings come into view.
    Shape(p, {{0, 7}, {4, 3}, {11, 3}, {15, 7}, {11, 11}, {4, 11}}, kPaper);
    Oval(p, 5, 4, 6, 7, kNavy);
    Fill(p, 7, 6, 2, 3, kInk);
    Fill(p, 6, 5, 1, 1, kPaper);
}

// --- Tools: the symbols as the view draws them ------------------------------------------

void DrawSelect(QPainter& p) {
    Shape(p, {{4, 0}, {4, 12}, {7, 9}, {9, 14}, {11, 13}, {9, 9}, {13, 9}}, kPaper);
}

// A connection point: a small ring.
void Point(QPainter& p, int x, int y) {
    Oval(p, x - 1, y - 1, 3, 3, kPaper);
}

void DrawWire(QPainter& p) {
    Line(p, {{2, 12}, {13, 2}});
    Point(p, 2, 12);
    Point(p, 13, 2);
}

// The leads of a component lying across the icon at row `y`.
void Leads(QPainter& p, int y, int left, int right) {
    Fill(p, 0, y, left, 1, kInk);
    Fill(p, right + 1, y, kIconWidth - right - 1, 1, kInk);
}

void DrawBattery(QPainter& p) {
    Leads(p, 7, 2, 12);
    Box(p, 2, 3, 9, 9, kBatteryGreen);
    // The positive terminal.
    Box(p, 10, 5, 3, 5, kPaper);
}

void DrawBulb(QPainter& p) {
    Leads(p, 13, 6, 9);
    // Rays, then the glass, the screw base and the contact on the lead.
    Line(p, {{1, 1}, {2, 2}});
    Line(p, {{14, 1}, {13, 2}});
    Line(p, {{0, 5}, {1, 5}});
    Line(p, {{14, 5}, {15, 5}});
    Oval(p, 3, 0, 10, 10, kBulbLit);
    Line(p, {{7, 8}, {7, 5}, {8, 5}, {8, 8}}, kInk, Hair(p));
    Box(p, 5, 8, 6, 5, kPaper);
    Fill(p, 6, 10, 4, 1, kInk);
    Fill(p, 6, 12, 4, 3, kInk);
}

void DrawResistor(QPainter& p) {
    Leads(p, 7, 1, 13);
    Line(p, {{1, 7}, {2, 3}, {4, 11}, {6, 3}, {8, 11}, {10, 3}, {12, 11}, {13, 7}});
}

void DrawMeter(QPainter& p, const QColor& face, Rows letter) {
    Leads(p, 6, 1, 14);
    // The dome above the lead, the coloured plate below it with the letter, and the needle.
    p.setPen(Stroke(kInk));
    p.setBrush(kPaper);
    p.drawChord(QRectF(1.5, 0.5, 13, 12), 0, 180 * 16);
    Box(p, 1, 6, 14, 9, face);
    Glyph(p, 5, 8, letter, kInk);
    Line(p, {{8, 6}, {12, 2}});
}

void DrawAmmeter(QPainter& p) {
    DrawMeter(p, kAmmeterPink, {"..#..", ".#.#.", "#...#", "#####", "#...#", "#...#"});
}

void DrawVoltmeter(QPainter& p) {
    DrawMeter(p, kVoltmeterBlue, {"#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."});
}

void DrawSwitch(QPainter& p) {
    Leads(p, 7, 1, 14);
    Box(p, 1, 2, 14, 11, kPaper);
    Glyph(p, 3, 5, {".##..#..#", "#..#.##.#", "#..#.#.##", "#..#.#..#", ".##..#..#"},
          kSwitchOnBlue);
}

struct IconArt {
    Icon icon;
    void (*draw)(QPainter&);
};

constexpr std::array<IconArt, 21> kIcons{{
    {Icon::New, DrawNew},
    {Icon::Open, DrawOpen},
    {Icon::Save, DrawSave},
    {Icon::Undo, DrawUndo},
    {Icon::Redo, DrawRedo},
    {Icon::Cut, DrawCut},
    {Icon::Copy, DrawCopy},
    {Icon::Paste, DrawPaste},
    {Icon::Print, DrawPrint},
    {Icon::Options, DrawOptions},
    {Icon::Comment, DrawComment},
    {Icon::About, DrawAbout},
    {Icon::Select, DrawSelect},
    {Icon::Wire, DrawWire},
    {Icon::Battery, DrawBattery},
    {Icon::Bulb, DrawBulb},
    {Icon::Resistor, DrawResistor},
    {Icon::Ammeter, DrawAmmeter},
    {Icon::Voltmeter, DrawVoltmeter},
    {Icon::Switch, DrawSwitch},
    {Icon::Reveal, DrawReveal},
}};

Icon IconOfCommand(int commandId) {
    const Command* command = FindCommand(commandId);
    return command != nullptr ? command->icon : Icon::None;
}

// --- The program's icon ------------------------------------------------------------------

// Drawn on a grid of 64 x 64 units: a lit bulb and a dry cell in one loop of wire.
constexpr qreal kApplicationGrid = 64.0;
// Below this size the program's icon is drawn pixel by pixel.
constexpr int kSmallestTile = 24;

void DrawApplication(QPainter& p) {
    p.setPen(QPen(QColor(48, 80, 144), 2.0));
    p.setBrush(QColor(236, 242, 255));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);

    p.setPen(QPen(kInk, 3.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(12, 26, 40, 24));

    p.setPen(QPen(kInk, 2.5));
    p.setBrush(kBatteryGreen);
    p.drawRect(QRectF(21, 43, 20, 14));
    p.setBrush(kPaper);
    p.drawRect(QRectF(41, 46.5, 5, 7));

    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
    for (const QLineF& ray : {QLineF(14, 10, 19, 13), QLineF(50, 10, 45, 13), QLineF(32, 2, 32, 5),
                              QLineF(12, 21, 17, 21), QLineF(47, 21, 52, 21)}) {
        p.drawLine(ray);
    }
    p.setBrush(kBulbLit);
    p.drawEllipse(QRectF(21, 7, 22, 22));
    p.setBrush(kPaper);
    p.drawRect(QRectF(27, 26, 10, 8));
}

// The same picture for 16 pixels, on whole pixels and without the tile, which would only blur.
void DrawSmallApplication(QPainter& p) {
    Line(p, {{7, 5}, {2, 5}, {2, 12}, {4, 12}});
    Line(p, {{8, 5}, {13, 5}, {13, 12}, {11, 12}});
    Oval(p, 4, 0, 8, 8, kBulbLit);
    Box(p, 6, 6, 4, 3, kPaper);
    Box(p, 4, 9, 7, 6, kBatteryGreen);
    Box(p, 10, 10, 2, 4, kPaper);
}

}  // namespace

QImage IconImage(Icon icon, int scale) {
    for (const IconArt& art : kIcons) {
        if (art.icon != icon) {
            continue;
        }
        QImage image(kIconWidth * scale, kIconHeight * scale, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        image.setDevicePixelRatio(scale);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, scale > 1);
        art.draw(painter);
        return image;
    }
    return {};
}

QIcon IconAtBothSizes(Icon icon) {
    QIcon both;
    for (const int scale : {1, 2}) {
        const QImage image = IconImage(icon, scale);
        if (!image.isNull()) {
            both.addPixmap(QPixmap::fromImage(image));
        }
    }
    return both;
}

QImage CommandIconImage(int commandId, int scale) {
    return IconImage(IconOfCommand(commandId), scale);
}

QIcon CommandIcon(int commandId) {
    return IconAtBothSizes(IconOfCommand(commandId));
}

QImage ToolIconImage(Tool tool, int scale) {
    return CommandIconImage(RowOfTool(tool).command, scale);
}

QImage ApplicationIconImage(int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (pixels < kSmallestTile) {
        DrawSmallApplication(painter);
        return image;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixels / kApplicationGrid, pixels / kApplicationGrid);
    DrawApplication(painter);
    return image;
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int pixels : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(QPixmap::fromImage(ApplicationIconImage(pixels)));
    }
    return icon;
}

}  // namespace kelno
