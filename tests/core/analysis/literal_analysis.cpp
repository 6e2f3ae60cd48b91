#include "core/analysis/literal_analysis.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace kelno::testing {

namespace {

constexpr double kWeightFactor = 1e-10;
constexpr double kCurrentLimit = 1000000.0;
constexpr double kConvergence = 1e-8;

// Points and elements by number, each element's weight, and the element the search walks
// through for each link holder (an open switch holding a link is stood in for by the first
// conducting element between the same two points).
struct Network {
    std::vector<CircuitPoint*> points;
    std::vector<CircuitElement*> elements;
    std::vector<double> weight;
    std::vector<CircuitElement*> step;

    explicit Network(Circuit& circuit) {
        std::int32_t number = 0;
        for (CircuitPoint& point : circuit.points()) {
            point.serial = number++;
            points.push_back(&point);
        }
        number = 0;
        for (CircuitElement& element : circuit.elements()) {
            element.serial = number++;
            elements.push_back(&element);
            weight.push_back(element.resistance);
        }
        step.assign(elements.size(), nullptr);
        for (CircuitElement* element : elements) {
            if (element->linked() && !element->IsOpenSwitch()) {
                step[element->serial] = element;
            }
        }
        for (CircuitElement* element : elements) {
            if (element->linked() || element->IsOpenSwitch() ||
                element->end1() == element->end2()) {
                continue;
            }
            CircuitElement* holder = element->end1()->LinkTo(element->end2());
            if (holder != nullptr && holder->IsOpenSwitch() && step[holder->serial] == nullptr) {
                step[holder->serial] = element;
            }
        }
    }

    std::optional<LoopPath> FindLoop(CircuitElement* element) {
        if (element->IsOpenSwitch()) {
            return std::nullopt;
        }
        const std::size_t n = points.size();
        std::vector<double> distance(n, -1.0);
        std::vector<char> reached(n, 0);
        std::vector<CircuitPoint*> predecessor(n, nullptr);
        const std::int32_t start = element->end1()->serial;
        const std::int32_t target = element->end2()->serial;
        distance[start] = 0.0;
        reached[start] = 1;
        while (!reached[target]) {
            CircuitPoint* bestFrom = nullptr;
            CircuitPoint* bestTo = nullptr;
            double bestLength = 0.0;
            for (CircuitPoint* from : points) {
                if (!reached[from->serial]) {
                    continue;
                }
                for (const auto& [to, holder] : from->links()) {
                    const CircuitElement* s = step[holder->serial];
                    if (s == nullptr || s == element || reached[to->serial]) {
                        continue;
                    }
                    const double length = distance[from->serial] + weight[s->serial];
                    if (bestTo == nullptr || length < bestLength) {
                        bestFrom = from;
                        bestTo = to;
                        bestLength = length;
                    }
                }
            }
            if (bestTo == nullptr) {
                return std::nullopt;
            }
            distance[bestTo->serial] = bestLength;
            reached[bestTo->serial] = 1;
            predecessor[bestTo->serial] = bestFrom;
        }
        LoopPath path{{element, true}};
        for (CircuitPoint* here = points[target]; here != points[start];) {
            CircuitPoint* previous = predecessor[here->serial];
            CircuitElement* s = step[here->LinkTo(previous)->serial];
            path.push_back({s, s->end1() == here});
            here = previous;
        }
        return path;
    }

    std::vector<LoopPath> Build() {
        std::vector<LoopPath> loops;
        std::vector<char> covered(elements.size(), 0);
        for (CircuitElement* element : elements) {
            if (covered[element->serial]) {
                continue;
            }
            std::optional<LoopPath> path = FindLoop(element);
            if (!path) {
                continue;
            }
            for (const LoopStep& s : *path) {
                covered[s.element->serial] = 1;
                weight[s.element->serial] *= kWeightFactor;
            }
            loops.push_back(std::move(*path));
        }
        return loops;
    }
};

struct LiteralLoop {
    LoopPath path;
    double loopCurrent = 0.0;
    double selfResistance = 0.0;
    double drive = 0.0;
    std::uint64_t updateWork = 0;
};

struct LoopRef {
    std::size_t loop;
    double sign;
};

bool Fail(Circuit& circuit, AnalysisReport& report, AnalysisOutcome outcome) {
    for (CircuitElement& element : circuit.elements()) {
        element.current = 0.0;
    }
    report.outcome = outcome;
    return false;
}

// Sweeps over the full matrix, adding delta times every entry of the row, zeros included.
// The work is counted as the program counts it, so both give up at the same sweep.
AnalysisOutcome Sweep(std::vector<LiteralLoop>& loops, const std::vector<double>& mutual,
                      std::uint64_t passages, std::size_t& sweeps) {
    const std::size_t n = loops.size();
    const std::uint64_t workLimit = SweepWorkLimit(n, passages);
    std::uint64_t work = 0;
    bool changed = true;
    while (changed) {
        if (sweeps == kMaxSweeps || work > workLimit) {
            return AnalysisOutcome::NoConvergence;
        }
        ++sweeps;
        work += n;
        changed = false;
        for (std::size_t u = 0; u < n; ++u) {
            LiteralLoop& loop = loops[u];
            if (loop.selfResistance == 0.0) {
                if (loop.drive == 0.0) {
                    continue;
                }
                return AnalysisOutcome::ZeroResistanceLoop;
            }
            const double x = loop.drive / loop.selfResistance;
            if (!(std::fabs(x) <= kCurrentLimit)) {
                return AnalysisOutcome::CurrentLimit;
            }
            const double delta = x - loop.loopCurrent;
            if (std::fabs(delta) < kConvergence) {
                continue;
            }
            loop.loopCurrent = x;
            changed = true;
            work += loop.updateWork;
            for (std::size_t t = 0; t < n; ++t) {
                if (t != u) {
                    loops[t].drive += delta * mutual[u * n + t];
                }
            }
        }
    }
    return AnalysisOutcome::Solved;
}

}  // namespace

std::vector<LoopPath> LiteralLoops(Circuit& circuit) {
    return Network(circuit).Build();
}

bool LiteralAnalyze(Circuit& circuit, AnalysisReport* reportOut) {
    AnalysisReport local;
    AnalysisReport& report = reportOut != nullptr ? *reportOut : local;
    report = AnalysisReport{};

    Network network(circuit);
    for (const CircuitElement& element : circuit.elements()) {
        if (!element.IsOpenSwitch() &&
            (!std::isfinite(element.resistance) || !std::isfinite(element.emf))) {
            return Fail(circuit, report, AnalysisOutcome::NonFiniteValue);
        }
    }

    std::vector<std::vector<LoopRef>> loopRefs(network.elements.size());
    std::vector<LiteralLoop> loops;
    for (LoopPath& path : network.Build()) {
        LiteralLoop loop;
        const std::size_t k = loops.size();
        for (const LoopStep& s : path) {
            const double sign = s.forward ? 1.0 : -1.0;
            if (s.element->resistance != 0.0) {
                loopRefs[s.element->serial].push_back({k, sign});
            }
            loop.selfResistance += s.element->resistance;
            loop.drive += sign * s.element->emf;
        }
        loop.path = std::move(path);
        loops.push_back(std::move(loop));
    }
    report.loops = loops.size();

    const std::size_t n = loops.size();
    std::vector<double> mutual(n * n, 0.0);
    std::uint64_t passages = 0;
    for (const CircuitElement* element : network.elements) {
        const std::vector<LoopRef>& refs = loopRefs[element->serial];
        passages += refs.size();
        for (std::size_t i = 0; i < refs.size(); ++i) {
            for (std::size_t j = i + 1; j < refs.size(); ++j) {
                const double t = -(refs[i].sign * refs[j].sign * element->resistance);
                mutual[refs[i].loop * n + refs[j].loop] += t;
                mutual[refs[j].loop * n + refs[i].loop] += t;
            }
        }
    }

    for (std::size_t u = 0; u < n; ++u) {
        for (std::size_t t = 0; t < n; ++t) {
            loops[u].updateWork += mutual[u * n + t] != 0.0 ? 1 : 0;
        }
    }
    const AnalysisOutcome outcome = Sweep(loops, mutual, passages, report.sweeps);
    if (outcome != AnalysisOutcome::Solved) {
        return Fail(circuit, report, outcome);
    }
    for (CircuitElement* element : network.elements) {
        element->current = 0.0;
    }
    for (const LiteralLoop& loop : loops) {
        for (const LoopStep& s : loop.path) {
            if (s.forward) {
                s.element->current += loop.loopCurrent;
            } else {
                s.element->current -= loop.loopCurrent;
            }
        }
    }
    return true;
}

}  // namespace kelno::testing
