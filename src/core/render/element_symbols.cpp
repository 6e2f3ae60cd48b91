#include "render/element_symbols.h"

#include <array>
#include <cmath>

#include "render/format_value.h"
#include "render/surface_scope.h"

namespace kelno {

namespace {

constexpr Color kBatteryColor{192, 255, 192};
constexpr Color kBatteryDangerColor{255, 192, 192};
constexpr Color kAmmeterColor{255, 240, 240};
constexpr Color kVoltmeterColor{240, 240, 255};
constexpr Color kBulbOffColor{255, 255, 255};
constexpr std::array<Color, 3> kBulbLevelColors{Color{255, 255, 230}, Color{255, 255, 170},
                                                Color{255, 255, 0}};
constexpr Color kBulbContactColor{0, 0, 0};
constexpr Color kSwitchOnColor{0, 0, 255};
constexpr Color kSwitchOffColor{255, 0, 0};
// A bulb whose current is smaller than this in magnitude is dark.
constexpr double kBulbOffCurrent = 1e-8;

// The side a terminal or needle points to, turned half round for a negative value.
int Opposite(int quadrant) {
    return (quadrant + 2) % 4;
}

DrawRect Box(const ElementFrame& f) {
    return {f.cx - f.hw, f.cy - f.hh, f.cx + f.hw, f.cy + f.hh};
}

void Label(DrawSurface& surface, const ElementFrame& f, std::int64_t y, std::string_view text) {
    surface.DrawTextTopCentre({f.cx, y}, text);
}

// The positive terminal: 32 units wide, 4 units into the box and 32 beyond it.
DrawRect BatteryTerminal(const ElementFrame& f, int side) {
    const std::int64_t cx = f.cx;
    const std::int64_t cy = f.cy;
    switch (side) {
        case 0:
            return {cx - 16, cy + f.hh - 4, cx + 16, cy + f.hh + 32};
        case 1:
            return {cx + f.hw - 4, cy - 16, cx + f.hw + 32, cy + 16};
        case 2:
            return {cx - 16, cy - f.hh + 4, cx + 16, cy - f.hh - 32};
        default:
            return {cx - f.hw + 4, cy - 16, cx - f.hw - 32, cy + 16};
    }
}

void DrawMeterLetter(const CircuitElement& meter, DrawSurface& surface, const ElementFrame& f,
                     bool lowerHalf) {
    const std::int64_t cx = f.cx;
    const std::int64_t cy = f.cy;
    if (meter.kind == ElementKind::Ammeter) {
        const std::array<DrawPoint, 3> stroke =
            lowerHalf
                ? std::array<DrawPoint, 3>{{{cx - 20, cy - 48}, {cx, cy - 8}, {cx + 20, cy - 48}}}
                : std::array<DrawPoint, 3>{{{cx + 48, cy + 20}, {cx + 8, cy}, {cx + 48, cy - 20}}};
        surface.DrawPolyline(stroke);
        if (lowerHalf) {
            surface.DrawLine({cx - 12, cy - 32}, {cx + 12, cy - 32});
        } else {
            surface.DrawLine({cx + 32, cy + 12}, {cx + 32, cy - 12});
        }
        return;
    }
    const std::array<DrawPoint, 3> stroke =
        lowerHalf ? std::array<DrawPoint, 3>{{{cx - 20, cy - 8}, {cx, cy - 48}, {cx + 20, cy - 8}}}
                  : std::array<DrawPoint, 3>{{{cx + 8, cy + 20}, {cx + 48, cy}, {cx + 8, cy - 20}}};
    surface.DrawPolyline(stroke);
}

void DrawBulbRays(DrawSurface& surface, const ElementFrame& f, int level) {
    const std::int64_t cx = f.cx;
    const std::int64_t cy = f.cy;
    const std::int64_t l = 16 + 4 * level;
    surface.DrawLine({cx - 40, cy + 112}, {cx - 40 - l, cy + 112 + l});
    surface.DrawLine({cx, cy + 120}, {cx, cy + 120 + l});
    surface.DrawLine({cx + 40, cy + 112}, {cx + 40 + l, cy + 112 + l});
    if (level >= 1) {
        surface.DrawLine({cx - 64, cy + 72}, {cx - 64 - l, cy + 72});
        surface.DrawLine({cx + 64, cy + 72}, {cx + 64 + l, cy + 72});
    }
    if (level >= 2) {
        surface.DrawLine({cx - 40, cy + 32}, {cx - 40 - l, cy + 32 - l});
        surface.DrawLine({cx + 40, cy + 32}, {cx + 40 + l, cy + 32 - l});
    }
}

}  // namespace

void DrawBattery(const CircuitElement& battery, DrawSurface& surface, const ElementFrame& f,
                 bool hideReadings) {
    const double current = hideReadings ? 0.0 : battery.current;
    double volts = battery.emf;
    int side = f.quadrant;
    if (volts < 0) {
        volts = -volts;
        side = Opposite(side);
    }
    // Driven backwards: the current runs against the battery's own voltage.
    const bool danger = current * battery.emf < 0;
    surface.DrawRectangle(BatteryTerminal(f, side));
    {
        BrushScope body(surface, Brush{danger ? kBatteryDangerColor : kBatteryColor});
        surface.DrawRectangle(Box(f));
    }
    // A terminal at the bottom would cover a label right under the box.
    Label(surface, f, side == 2 ? f.cy - f.hh - 48 : f.cy - f.hh - 16, FormatValue(volts, "V"));
    if (danger) {
        Label(surface, f, f.cy + f.hh / 2, "危険");
    }
}

void DrawResistor(const CircuitElement& resistor, DrawSurface& surface, const ElementFrame& f) {
    surface.FillRect({f.cx - f.hw, f.cy + f.hh, f.cx + f.hw, f.cy - f.hh},
                     surface.BackgroundColor());
    DrawPoint a{f.cx, f.cy - f.hh};
    DrawPoint b{f.cx, f.cy + f.hh};
    DrawPoint offset{-48, 0};
    if (f.horizontal()) {
        a = {f.cx - f.hw, f.cy};
        b = {f.cx + f.hw, f.cy};
        offset = {0, 48};
    }
    std::array<DrawPoint, 8> zigzag;
    zigzag.front() = a;
    zigzag.back() = b;
    for (int i = 0; i < 6; ++i) {
        const std::int64_t k = 2 * i + 1;
        const std::int64_t s = i % 2 == 0 ? 1 : -1;
        zigzag[i + 1] = {((12 - k) * a.x + k * b.x) / 12 + s * offset.x,
                         ((12 - k) * a.y + k * b.y) / 12 + s * offset.y};
    }
    surface.DrawPolyline(zigzag);
    Label(surface, f, f.cy - f.hh - 12, FormatValue(resistor.resistance, "Ω"));
}

void DrawMeter(const CircuitElement& meter, DrawSurface& surface, const ElementFrame& f,
               bool hideReadings) {
    const bool ammeter = meter.kind == ElementKind::Ammeter;
    const double current = hideReadings ? 0.0 : meter.current;
    double reading = ammeter ? current : meter.resistance * current;
    int side = f.quadrant;
    if (reading < 0) {
        reading = -reading;
        side = Opposite(side);
    }
    const std::int64_t cx = f.cx;
    const std::int64_t cy = f.cy;
    if (!hideReadings) {
        Label(surface, f, cy - 74, FormatValue(reading, ammeter ? "A" : "V"));
    }
    surface.DrawEllipse({cx - 64, cy - 64, cx + 64, cy + 64});
    BrushScope base(surface, Brush{ammeter ? kAmmeterColor : kVoltmeterColor});
    // The needle always stands at 45 degrees; its side shows the sign of the reading.
    if (side % 2 == 1) {
        surface.DrawLine({cx, cy}, {cx + 40 * (2 - side), cy + 40});
        surface.DrawRectangle({cx - 64, cy, cx + 64, cy - 64});
        DrawMeterLetter(meter, surface, f, true);
    } else {
        surface.DrawLine({cx, cy}, {cx - 40, cy + 40 - 40 * side});
        surface.DrawRectangle({cx, cy - 64, cx + 64, cy + 64});
        DrawMeterLetter(meter, surface, f, false);
    }
}

int BulbLevel(double power) {
    if (power < 0.25) {
        return 0;
    }
    return power < 1.0 ? 1 : 2;
}

void DrawBulb(const CircuitElement& bulb, DrawSurface& surface, const ElementFrame& f,
              bool hideReadings) {
    const double current = hideReadings ? 0.0 : bulb.current;
    const bool off = std::fabs(current) < kBulbOffCurrent;
    const double power = std::fabs(current * bulb.resistance * current);
    const int level = BulbLevel(power);
    const std::int64_t cx = f.cx;
    const std::int64_t cy = f.cy;
    if (!hideReadings) {
        Label(surface, f, cy - 60, FormatValue(power, "W"));
    }
    {
        BrushScope glass(surface, Brush{off ? kBulbOffColor : kBulbLevelColors[level]});
        surface.DrawEllipse({cx - 48, cy + 120, cx + 48, cy + 24});
        const std::array<DrawPoint, 4> filament{
            {{cx - 12, cy + 28}, {cx - 12, cy + 60}, {cx + 12, cy + 60}, {cx + 12, cy + 28}}};
        surface.DrawPolyline(filament);
        surface.SelectBrush(Brush{kBulbContactColor});
        surface.DrawEllipse({cx - 12, cy - 40, cx + 12, cy - 16});
    }
    surface.DrawRectangle({cx - 20, cy - 28, cx + 20, cy + 24});
    for (const std::int64_t y : {cy - 15, cy - 3, cy + 9}) {
        surface.DrawLine({cx - 20, y}, {cx + 20, y});
    }
    if (!off) {
        DrawBulbRays(surface, f, level);
    }
}

void DrawSwitch(const CircuitElement& switchElement, DrawSurface& surface, const ElementFrame& f) {
    surface.DrawRectangle({f.cx - 80, f.cy - 48, f.cx + 80, f.cy + 48});
    const bool closed = switchElement.resistance == 0.0;
    TextColorScope color(surface, closed ? kSwitchOnColor : kSwitchOffColor);
    Label(surface, f, f.cy + 20, closed ? "ON" : "OFF");
}

}  // namespace kelno
