// The time of one drag step of the editor on a large circuit: the step that pulls a link off
// a junction (with the undo state and the analysis it triggers), the first step that only
// takes the undo state, and a plain step of a dragged point; and a step in the editor's
// view with the repaint the user waits for.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "ckelnoapp.h"
#include "ckelnodoc.h"
#include "ckelnoview.h"
#include "cmainframe.h"
#include "document/document.h"
#include "editing/edit_controller.h"
#include "editing/editing_port.h"

namespace kelno {
namespace {

constexpr int kColumns = 33;
constexpr int kRows = 32;
constexpr std::size_t kElements = 2000;
constexpr std::int32_t kPitch = 300;

class NullPort : public EditingPort {
public:
    void SetStatusText(std::string_view) override {}
    void CaptureMouse() override {}
    void ReleaseMouse() override {}
    void Repaint() override {}
    void RequestDetails(const DetailsValues&, DetailsDone done) override { done(std::nullopt); }
};

LogicalPoint GridPosition(int row, int column) {
    return {200 + kPitch * column, -200 - kPitch * row};
}

// A grid of points whose neighbours are joined by bulbs, a battery in place of the first,
// cut off after kElements elements.
void BuildGrid(Circuit& circuit) {
    std::vector<CircuitPoint*> points;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const LogicalPoint p = GridPosition(row, column);
            points.push_back(circuit.AddPoint(0, p.x, p.y));
        }
    }
    for (int row = 0; row < kRows && circuit.ElementCount() < kElements; ++row) {
        for (int column = 0; column < kColumns && circuit.ElementCount() < kElements; ++column) {
            const int here = row * kColumns + column;
            const ElementKind kind =
                circuit.ElementCount() == 0 ? ElementKind::Battery : ElementKind::Bulb;
            if (column + 1 < kColumns) {
                circuit.AddElement(DefaultRecord(kind), points[here], points[here + 1]);
            }
            if (row + 1 < kRows && circuit.ElementCount() < kElements) {
                circuit.AddElement(DefaultRecord(ElementKind::Bulb), points[here],
                                   points[here + kColumns]);
            }
        }
    }
}

// A document holding the grid, the wire tool, and a controller at the scale of a 96 dpi
// screen.
struct Bench {
    Bench() : controller(doc, port, ViewScale::FromDpi(96, 96)) {
        BuildGrid(doc.circuit());
        doc.CircuitChanged();
        doc.ChooseTool(Tool::Wire);
    }
    DevicePoint Pixel(LogicalPoint p) const { return controller.scale().ToDevice(p); }

    Document doc;
    NullPort port;
    EditController controller;
};

const LogicalPoint kJunction = GridPosition(kRows / 2, kColumns / 2);

// One step of 100 units toward `direction` from the junction.
LogicalPoint StepToward(LogicalPoint direction) {
    return {kJunction.x + 100 * direction.x, kJunction.y + 100 * direction.y};
}

// The first step of a drag away from the junction. Undo (untimed, but it analyses the
// circuit again) puts back what a detaching step changed.
void TimeFirstStep(benchmark::State& state, LogicalPoint direction, bool detaches) {
    Bench bench;
    const std::size_t points = bench.doc.circuit().PointCount();
    for (auto _ : state) {
        state.PauseTiming();
        bench.controller.Press(bench.Pixel(kJunction), false);
        state.ResumeTiming();
        bench.controller.Move(bench.Pixel(StepToward(direction)));
        state.PauseTiming();
        if ((bench.doc.circuit().PointCount() > points) != detaches) {
            state.SkipWithError("the step did not do what it is meant to time");
            break;
        }
        bench.controller.Release(bench.Pixel(StepToward(direction)));
        if (detaches) {
            bench.doc.Undo();
        }
        state.ResumeTiming();
    }
}

// Rightward: the bulb to the right is pulled off and the circuit analysed again.
void BM_DragStepDetaching(benchmark::State& state) {
    TimeFirstStep(state, {1, 0}, true);
}
BENCHMARK(BM_DragStepDetaching)->Unit(benchmark::kMillisecond);

// Diagonally, away from every link: only the undo state is taken.
void BM_DragFirstStepWithoutDetaching(benchmark::State& state) {
    TimeFirstStep(state, {1, -1}, false);
}
BENCHMARK(BM_DragFirstStepWithoutDetaching)->Unit(benchmark::kMillisecond);

// Later steps of a dragged junction: the magnet's search of the points, the move, the
// repaint request.
void BM_DragStepPlain(benchmark::State& state) {
    Bench bench;
    bench.controller.Press(bench.Pixel(kJunction), false);
    bench.controller.Move(bench.Pixel(StepToward({1, -1})));
    bool there = false;
    for (auto _ : state) {
        bench.controller.Move(
            bench.Pixel(StepToward(there ? LogicalPoint{1, -1} : LogicalPoint{-1, -1})));
        there = !there;
    }
    if (bench.doc.circuit().PointCount() != kRows * kColumns) {
        state.SkipWithError("a plain step changed the circuit's points");
    }
}
BENCHMARK(BM_DragStepPlain)->Unit(benchmark::kMicrosecond);

void SendMouse(QWidget& view, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), QPointF(view.mapToGlobal(at)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(&view, &event);
}

// A step of a dragged junction in the editor's window of 1280 x 900 pixels: the mouse
// event, the controller's step and the repaint of the whole view, which draws every
// element again.
void BM_ViewDragStep(benchmark::State& state) {
    CKelnoApp app;
    app.frame().resize(1280, 900);
    app.frame().show();
    while (!app.frame().windowHandle()->isExposed()) {
        QApplication::processEvents();  // a view that is not shown yet does not paint
    }
    Document& doc = app.document().core();
    BuildGrid(doc.circuit());
    doc.CircuitChanged();
    doc.ChooseTool(Tool::Wire);
    CKelnoView& view = app.view();
    const auto pixel = [&view](LogicalPoint p) {
        const DevicePoint d = view.controller().scale().ToDevice(p);
        return QPoint(static_cast<int>(d.x), static_cast<int>(d.y));
    };
    const QPoint junction = pixel(GridPosition(5, 5));
    SendMouse(view, QEvent::MouseButtonPress, junction, Qt::LeftButton);
    SendMouse(view, QEvent::MouseMove, junction + QPoint(20, 20), Qt::LeftButton);
    view.repaint();
    bool there = false;
    for (auto _ : state) {
        SendMouse(view, QEvent::MouseMove, junction + QPoint(there ? 20 : 40, 20), Qt::LeftButton);
        view.repaint();
        there = !there;
    }
    SendMouse(view, QEvent::MouseButtonRelease, junction, Qt::NoButton);
    if (doc.circuit().ElementCount() != kElements || !doc.modified()) {
        state.SkipWithError("the steps did not drag the junction");
    }
}
BENCHMARK(BM_ViewDragStep)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelno
