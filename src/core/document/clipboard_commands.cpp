#include "document/clipboard_commands.h"

#include "document/scoped_edit.h"

#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "io/clipboard_text.h"

namespace kelno {

namespace {

// Taking out a selected point of degree 2: the wire to remove and the element that is
// stretched over it to the wire's far end.
struct JunctionCut {
    CircuitPoint* point;
    CircuitElement* wire;
    CircuitPoint* wireFarEnd;
    CircuitElement* stretched;
};

// Elements without a link of their own are not found through the points' links.
bool HasUnlinkedElementAt(const Circuit& circuit, const CircuitPoint* point) {
    if (circuit.UnlinkedCount() == 0) {
        return false;
    }
    for (const CircuitElement& element : circuit.elements()) {
        if (!element.linked() && (element.end1() == point || element.end2() == point)) {
            return true;
        }
    }
    return false;
}

bool IsUsed(const Circuit& circuit, const CircuitPoint* point) {
    return point->Degree() > 0 || HasUnlinkedElementAt(circuit, point);
}

// The junction cut of the selected point, if it can be made. It cannot when the point
// does not join exactly two elements, when neither is a wire, when the far ends are
// already joined by a third element (the stretched element could hold no link), or when
// an element without a link of its own also ends at the point (it would be lost).
std::optional<JunctionCut> PlanJunctionCut(const Circuit& circuit) {
    CircuitPoint* point = circuit.selectedPoint();
    if (point == nullptr || point->Degree() != 2) {
        return std::nullopt;
    }
    auto first = point->links().begin();
    auto second = std::next(first);
    if (!IsWire(first->second->kind)) {
        std::swap(first, second);
    }
    if (!IsWire(first->second->kind)) {
        return std::nullopt;
    }
    CircuitPoint* wireFarEnd = first->first;
    if (wireFarEnd->LinkTo(second->first) != nullptr || HasUnlinkedElementAt(circuit, point)) {
        return std::nullopt;
    }
    return JunctionCut{point, first->second, wireFarEnd, second->second};
}

void CutJunction(Document& document, const JunctionCut& cut) {
    document.CircuitReplaced();
    ScopedEdit edit(document);
    Circuit& circuit = document.circuit();
    circuit.ReplaceEndpoint(cut.stretched, cut.point, cut.wireFarEnd);
    circuit.RemoveElement(cut.wire);
    circuit.RemovePoint(cut.point);
    circuit.ClearPointSelection();
    edit.Commit(EditChange::Circuit);
}

void CutSelection(Document& document) {
    document.CircuitReplaced();
    ScopedEdit edit(document);
    Circuit& circuit = document.circuit();
    const std::vector<CircuitElement*> selected = circuit.selection();
    for (CircuitElement* element : selected) {
        CircuitPoint* end1 = element->end1();
        CircuitPoint* end2 = element->end2();
        circuit.RemoveElement(element);
        // A point still used by an element without a link stays with that element.
        if (!IsUsed(circuit, end1)) {
            circuit.RemovePoint(end1);
        }
        if (end2 != end1 && !IsUsed(circuit, end2)) {
            circuit.RemovePoint(end2);
        }
    }
    circuit.ClearSelection();
    edit.Commit(EditChange::Circuit);
}

void AddPasted(Circuit& circuit, const ClipboardData& data) {
    circuit.ClearPointSelection();
    circuit.ClearSelection();
    std::vector<CircuitPoint*> points;
    points.reserve(data.points.size());
    for (const ClipboardPoint& point : data.points) {
        points.push_back(circuit.AddPoint(0, point.x, point.y));
    }
    for (const ClipboardElement& element : data.elements) {
        circuit.Select(
            circuit.AddElement(element.record, points[element.end1], points[element.end2]).element);
    }
}

}  // namespace

bool CanCopy(const Document& document) {
    const Circuit& circuit = document.circuit();
    return !circuit.pointSelected() && !circuit.selection().empty();
}

bool CanCut(const Document& document) {
    if (document.circuit().pointSelected()) {
        return PlanJunctionCut(document.circuit()).has_value();
    }
    return CanCopy(document);
}

// Another program may leave megabytes of text on the clipboard, and this is asked whenever
// the clipboard changes: its first word, within the first few kilobytes, decides. Paste
// reads the whole text.
bool CanPaste(const ClipboardPort& clipboard) {
    constexpr std::size_t kLookedAt = 4096;
    const std::optional<std::string> start = clipboard.ReadStart(kLookedAt);
    return start && IsClipboardText(*start);
}

bool Copy(const Document& document, ClipboardPort& clipboard, std::int32_t offset) {
    if (!CanCopy(document)) {
        return false;
    }
    clipboard.WriteText(WriteClipboardText(SelectionClipboardData(document.circuit(), offset)));
    return true;
}

bool Cut(Document& document, ClipboardPort& clipboard) {
    Copy(document, clipboard, 0);
    if (document.circuit().pointSelected()) {
        const std::optional<JunctionCut> cut = PlanJunctionCut(document.circuit());
        if (!cut) {
            return false;
        }
        CutJunction(document, *cut);
        return true;
    }
    if (document.circuit().selection().empty()) {
        return false;
    }
    CutSelection(document);
    return true;
}

bool Paste(Document& document, ClipboardPort& clipboard, std::string* error) {
    const std::optional<std::string> text = clipboard.ReadText();
    if (!text) {
        return false;
    }
    const ClipboardParseResult parsed = ParseClipboardText(*text);
    if (parsed.status != ClipboardParseStatus::Ok) {
        if (error != nullptr) {
            *error = parsed.error;
        }
        return false;
    }
    document.CircuitReplaced();
    ScopedEdit edit(document);
    AddPasted(document.circuit(), parsed.data);
    Copy(document, clipboard, kCopyOffset);
    edit.Commit(EditChange::Circuit);
    return true;
}

}  // namespace kelno
