#include "analysis/analyze.h"

#include <cmath>
#include <utility>
#include <vector>

#include "analysis/loop_basis.h"

namespace kelno {

namespace {

constexpr double kCurrentLimit = 1000000.0;  // amperes; exactly this much still passes
constexpr double kConvergence = 1e-8;        // amperes, per update

struct CircuitLoop {
    LoopPath path;
    double loopCurrent = 0.0;
    double selfResistance = 0.0;
    double drive = 0.0;  // the running right-hand side of the loop's equation
};

// A loop that passes an element, and the sign of its passage.
struct LoopRef {
    std::size_t loop;
    double sign;
};

bool HasNonFiniteValue(const Circuit& circuit) {
    for (const CircuitElement& element : circuit.elements()) {
        if (!element.IsOpenSwitch() &&
            (!std::isfinite(element.resistance) || !std::isfinite(element.emf))) {
            return true;
        }
    }
    return false;
}

bool Fail(Circuit& circuit, AnalysisReport& report, AnalysisOutcome outcome) {
    for (CircuitElement& element : circuit.elements()) {
        element.current = 0.0;
    }
    report.outcome = outcome;
    return false;
}

// Runs Gauss-Seidel sweeps until one changes nothing. The right-hand sides are kept up
// to date incrementally: each accepted update passes its change on to the other loops.
AnalysisOutcome Sweep(std::vector<CircuitLoop>& loops, const std::vector<double>& mutual,
                      std::size_t& sweeps) {
    const std::size_t n = loops.size();
    bool changed = true;
    while (changed) {
        if (sweeps == kMaxSweeps) {
            return AnalysisOutcome::NoConvergence;
        }
        ++sweeps;
        changed = false;
        for (std::size_t u = 0; u < n; ++u) {
            CircuitLoop& loop = loops[u];
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
            const double* row = &mutual[u * n];
            for (std::size_t t = 0; t < n; ++t) {
                if (t != u) {
                    loops[t].drive += delta * row[t];
                }
            }
        }
    }
    return AnalysisOutcome::Solved;
}

}  // namespace

bool Analyze(Circuit& circuit, AnalysisReport* reportOut) {
    AnalysisReport local;
    AnalysisReport& report = reportOut != nullptr ? *reportOut : local;
    report = AnalysisReport{};

    LoopBasis basis(circuit);
    if (HasNonFiniteValue(circuit)) {
        return Fail(circuit, report, AnalysisOutcome::NonFiniteValue);
    }

    const std::vector<CircuitElement*>& elements = basis.elementsByNumber();
    std::vector<std::vector<LoopRef>> loopRefs(elements.size());
    std::vector<CircuitLoop> loops;
    for (LoopPath& path : basis.Build()) {
        CircuitLoop loop;
        const std::size_t k = loops.size();
        for (const LoopStep& step : path) {
            const CircuitElement& element = *step.element;
            const double sign = step.forward ? 1.0 : -1.0;
            if (element.resistance != 0.0) {
                loopRefs[element.serial].push_back({k, sign});
            }
            loop.selfResistance += element.resistance;
            loop.drive += sign * element.emf;
        }
        loop.path = std::move(path);
        loops.push_back(std::move(loop));
    }
    report.loops = loops.size();

    // mutual[a][b]: minus the resistance that loops a and b share, signed by direction.
    const std::size_t n = loops.size();
    std::vector<double> mutual(n * n, 0.0);
    for (const CircuitElement* element : elements) {
        const std::vector<LoopRef>& refs = loopRefs[element->serial];
        for (std::size_t i = 0; i < refs.size(); ++i) {
            for (std::size_t j = i + 1; j < refs.size(); ++j) {
                const double t = -(refs[i].sign * refs[j].sign * element->resistance);
                mutual[refs[i].loop * n + refs[j].loop] += t;
                mutual[refs[j].loop * n + refs[i].loop] += t;
            }
        }
    }

    const AnalysisOutcome outcome = Sweep(loops, mutual, report.sweeps);
    if (outcome != AnalysisOutcome::Solved) {
        return Fail(circuit, report, outcome);
    }

    for (CircuitElement* element : elements) {
        element->current = 0.0;
    }
    for (const CircuitLoop& loop : loops) {
        for (const LoopStep& step : loop.path) {
            if (step.forward) {
                step.element->current += loop.loopCurrent;
            } else {
                step.element->current -= loop.loopCurrent;
            }
        }
    }
    return true;
}

}  // namespace kelno
