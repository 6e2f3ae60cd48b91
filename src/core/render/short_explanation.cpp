#include "render/short_explanation.h"

#include <vector>

#include "model/element_catalogue.h"
#include "render/draw_circuit.h"
#include "render/format_value.h"

namespace kelno {

namespace {

// What a loop is made of, counted the way the sentence speaks of it.
struct LoopMakeup {
    int batteries = 0;
    int loads = 0;  // every component that is neither a battery nor a switch
    bool wires = false;
    bool switches = false;
    std::vector<std::string_view> names;  // each kind's name once, batteries first, wires last
};

// Codes beyond the catalogue are loads, named as the summary names them.
void CountOne(const ElementKindInfo* info, LoopMakeup& makeup) {
    switch (info == nullptr ? ElementRole::Load : info->role) {
        case ElementRole::Source:
            ++makeup.batteries;
            break;
        case ElementRole::Switch:
            makeup.switches = true;
            break;
        case ElementRole::Wire:
            makeup.wires = true;
            break;
        case ElementRole::Load:
        case ElementRole::Meter:
            ++makeup.loads;
            break;
    }
}

LoopMakeup Count(std::span<const ElementKind> kinds) {
    LoopMakeup makeup;
    const std::span<const ElementKindInfo> catalogue = ElementCatalogue();
    std::vector<bool> seen(catalogue.size(), false);
    for (const ElementKind kind : kinds) {
        seen[static_cast<std::size_t>(&DisplayedKindInfo(kind) - catalogue.data())] = true;
        CountOne(FindKindInfo(kind), makeup);
    }
    // Components in catalogue order, then the wire.
    for (const bool wires : {false, true}) {
        for (std::size_t row = 0; row < catalogue.size(); ++row) {
            if (seen[row] && (catalogue[row].role == ElementRole::Wire) == wires) {
                makeup.names.push_back(catalogue[row].name);
            }
        }
    }
    return makeup;
}

std::string Names(const LoopMakeup& makeup) {
    std::string text;
    for (const std::string_view name : makeup.names) {
        if (!text.empty()) {
            text += "、";
        }
        text += name;
    }
    return text;
}

// "導線だけで", "導線とスイッチだけで", "スイッチだけで", or "" with nothing between.
std::string Through(const LoopMakeup& makeup) {
    if (makeup.wires && makeup.switches) {
        return "導線とスイッチだけで";
    }
    if (makeup.wires) {
        return "導線だけで";
    }
    return makeup.switches ? "スイッチだけで" : "";
}

// Why the loop has no limit to its current, as a clause that "ため" can follow.
std::string WhyUnlimited(const LoopMakeup& makeup, bool zeroResistance) {
    if (makeup.batteries == 0 && makeup.loads == 0) {
        return Names(makeup) + "の輪に起電力がある";  // a wire given an emf by a foreign file
    }
    if (makeup.loads > 0) {
        return Names(makeup) + (zeroResistance ? "の輪に抵抗がない" : "の輪の抵抗が小さすぎる");
    }
    const std::string through = Through(makeup);
    if (makeup.batteries == 1) {
        return through.empty() ? "電池の両端が同じ点につながっている"
                               : "電池が" + through + "自分自身につながっている";
    }
    return through.empty() ? "電池どうしが直接つながっている"
                           : "電池どうしが" + through + "つながっている";
}

template <class CircuitType>
auto ElementsAtPositions(CircuitType& circuit, std::span<const std::size_t> positions) {
    std::vector<decltype(&*circuit.elements().begin())> byPosition;
    for (auto& element : circuit.elements()) {
        byPosition.push_back(&element);
    }
    decltype(byPosition) found;
    for (const std::size_t position : positions) {
        if (position < byPosition.size()) {
            found.push_back(byPosition[position]);
        }
    }
    return found;
}

}  // namespace

std::string ExplainShort(AnalysisOutcome reason, std::span<const ElementKind> loopKinds) {
    if (loopKinds.empty()) {
        return "回路に有限の解がありません。";
    }
    const LoopMakeup makeup = Count(loopKinds);
    switch (reason) {
        case AnalysisOutcome::ZeroResistanceLoop:
            return WhyUnlimited(makeup, true) + "ため、電流が限りなく大きくなります。";
        case AnalysisOutcome::CurrentLimit:
            return WhyUnlimited(makeup, false) + "ため、電流が 1000000 A を超えます。";
        case AnalysisOutcome::NoConvergence:
            return Names(makeup) + "の輪で電流の計算が収束しません。負の抵抗はありませんか。";
        case AnalysisOutcome::NonFiniteValue:
            return Names(makeup) + "に有限の数でない値があります。";
        case AnalysisOutcome::Cancelled:
        case AnalysisOutcome::Solved:
            break;
    }
    return "回路に有限の解がありません。";
}

std::string ShortStatusLine(const Circuit& circuit, AnalysisOutcome reason,
                            std::span<const std::size_t> loop) {
    std::string line(kShortStatusText);
    if (reason == AnalysisOutcome::Solved) {
        return line;
    }
    std::vector<ElementKind> kinds;
    for (const CircuitElement* element : ElementsAtPositions(circuit, loop)) {
        kinds.push_back(element->kind);
    }
    return line + "  " + ExplainShort(reason, kinds);
}

std::vector<CircuitElement*> ElementsAt(Circuit& circuit, std::span<const std::size_t> positions) {
    return ElementsAtPositions(circuit, positions);
}

}  // namespace kelno
