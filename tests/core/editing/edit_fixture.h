#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "editing/edit_controller.h"
#include "editing/editing_port.h"
#include "io/kel_file.h"

namespace kelno::testing {

// A window that only records what the controller asks of it.
class RecordingPort : public EditingPort {
public:
    void SetStatusText(std::string_view text) override { statusTexts.emplace_back(text); }
    void CaptureMouse() override {
        EXPECT_FALSE(captured) << "the mouse was taken twice";
        captured = true;
    }
    void ReleaseMouse() override {
        EXPECT_TRUE(captured) << "the mouse was released without being taken";
        captured = false;
    }
    void Repaint() override { ++repaints; }
    void RequestDetails(const DetailsValues& initial, DetailsDone done) override {
        dialogs.push_back(initial);
        if (answerLater) {
            pendingDetails = std::move(done);
            return;
        }
        if (whileDialogOpen) {
            whileDialogOpen();
        }
        done(answer);
    }

    std::vector<std::string> statusTexts;
    bool captured = false;
    int repaints = 0;
    std::vector<DetailsValues> dialogs;
    std::optional<DetailsValues> answer;  // what the dialog returns; nothing is Cancel
    std::function<void()> whileDialogOpen;
    // A dialog that answers after the request has returned, as a browser's does.
    bool answerLater = false;
    DetailsDone pendingDetails;
};

// One device pixel is two logical units here, so that tolerances in pixels and thresholds
// in logical units cannot be mistaken for each other. Positions in tests are logical.
inline constexpr std::int32_t kUnitsPerPixel = 2;

inline constexpr std::int32_t Px(std::int32_t pixels) {
    return pixels * kUnitsPerPixel;
}

class EditTest : public ::testing::Test {
protected:
    EditTest()
        : doc([this] { return now; }),
          controller(doc, port, ViewScale(1.0 / kUnitsPerPixel, 1.0 / kUnitsPerPixel)) {}

    static DevicePoint Pixel(LogicalPoint p) {
        EXPECT_TRUE(p.x % kUnitsPerPixel == 0 && p.y % kUnitsPerPixel == 0)
            << "not on a pixel: " << p.x << ", " << p.y;
        return {p.x / kUnitsPerPixel, -p.y / kUnitsPerPixel};
    }

    void Press(LogicalPoint p, bool shift = false) { controller.Press(Pixel(p), shift); }
    void Move(LogicalPoint p) { controller.Move(Pixel(p)); }
    void Release(LogicalPoint p) { controller.Release(Pixel(p)); }
    void Click(LogicalPoint p, bool shift = false) {
        Press(p, shift);
        Release(p);
    }
    void Drag(LogicalPoint from, std::initializer_list<LogicalPoint> path) {
        Press(from);
        for (const LogicalPoint p : path) {
            Move(p);
        }
        Release(*(path.end() - 1));
    }
    void DoubleClick(LogicalPoint p) { controller.DoubleClick(Pixel(p)); }

    // A tool chosen once: a component tool falls back to the wire tool after one use.
    void UseTool(Tool tool) {
        now += 10;
        doc.ChooseTool(tool);
    }
    void UseTool(ElementKind kind) { UseTool(*ToolOfKind(kind)); }

    CircuitPoint* AddPoint(std::int32_t x, std::int32_t y) {
        return doc.circuit().AddPoint(0, x, y);
    }
    CircuitElement* AddElement(ElementKind kind, CircuitPoint* end1, CircuitPoint* end2) {
        return doc.circuit().AddElement(DefaultRecord(kind), end1, end2).element;
    }
    // Takes the circuit built so far (without undo states) as the analysed, saved start.
    void StartFromHere() {
        doc.CircuitChanged();
        doc.MarkSaved();
    }

    std::size_t undos() const { return doc.history().UndoCount(); }
    Circuit& circuit() { return doc.circuit(); }
    std::vector<std::uint8_t> FileBytes() { return WriteKel(doc.circuit(), KelFileContents()); }

    static LogicalPoint At(const CircuitPoint* p) { return {p->x, p->y}; }

    std::int64_t now = 1000;
    Document doc;
    RecordingPort port;
    EditController controller;
};

}  // namespace kelno::testing
