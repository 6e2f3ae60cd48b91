#include "analysis/analyze.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "analysis/loop_basis.h"
#include "analysis/mutual_terms.h"
#include "analysis/solve_directly.h"

namespace kelno {

namespace {

constexpr double kCurrentLimit = 1000000.0;  // amperes; exactly this much still passes
constexpr double kConvergence = 1e-8;        // amperes, per update

// Mutual terms kept in memory at most (16 bytes each); larger systems sum their rows afresh.
constexpr std::size_t kStoredMutualEntries = std::size_t{1} << 22;

// The loop equations in flat arrays indexed by loop number.
struct LoopSystem {
    // Loop u's path: steps[pathFirst[u]] up to steps[pathFirst[u + 1]] (index = element).
    std::vector<std::uint32_t> pathFirst{0};
    std::vector<Passage> steps;
    std::vector<double> selfResistance;
    std::vector<double> drive;  // the running right-hand side of the loop's equation
    std::vector<double> loopCurrent;
    LoopPassages passages;

    std::size_t size() const { return selfResistance.size(); }
};

std::vector<std::size_t> NonFiniteElements(const Circuit& circuit) {
    std::vector<std::size_t> found;
    std::size_t number = 0;
    for (const CircuitElement& element : circuit.elements()) {
        if (!element.IsOpenSwitch() &&
            (!std::isfinite(element.resistance) || !std::isfinite(element.emf))) {
            found.push_back(number);
        }
        ++number;
    }
    return found;
}

bool Fail(Circuit& circuit, AnalysisReport& report, AnalysisOutcome outcome) {
    for (CircuitElement& element : circuit.elements()) {
        element.current = 0.0;
    }
    report.outcome = outcome;
    return false;
}

// Sums each loop as it is appended: the resistance of every step, 0-ohm elements included,
// and the signed electromotive forces; and notes its passages through resistance.
void AddLoop(LoopSystem& system, const LoopPath& path) {
    double selfResistance = 0.0;
    double drive = 0.0;
    const std::size_t firstPassage = system.passages.byLoop.size();
    for (const LoopStep& step : path) {
        const CircuitElement& element = *step.element;
        const double sign = step.forward ? 1.0 : -1.0;
        const auto number = static_cast<std::uint32_t>(element.serial);
        if (element.resistance != 0.0) {
            system.passages.byLoop.push_back({number, step.forward});
        }
        selfResistance += element.resistance;
        drive += sign * element.emf;
        system.steps.push_back({number, step.forward});
    }
    std::sort(system.passages.byLoop.begin() + static_cast<std::ptrdiff_t>(firstPassage),
              system.passages.byLoop.end(),
              [](const Passage& a, const Passage& b) { return a.index < b.index; });
    system.passages.loopFirst.push_back(static_cast<std::uint32_t>(system.passages.byLoop.size()));
    system.pathFirst.push_back(static_cast<std::uint32_t>(system.steps.size()));
    system.selfResistance.push_back(selfResistance);
    system.drive.push_back(drive);
    system.loopCurrent.push_back(0.0);
}

// The same passages seen from the elements, each element's in loop order.
void IndexPassagesByElement(LoopSystem& system, std::size_t elementCount) {
    LoopPassages& passages = system.passages;
    std::vector<std::uint32_t> count(elementCount + 1, 0);
    for (const Passage& passage : passages.byLoop) {
        ++count[passage.index + 1];
    }
    for (std::size_t f = 0; f < elementCount; ++f) {
        count[f + 1] += count[f];
    }
    passages.elementFirst = count;
    passages.byElement.resize(passages.byLoop.size());
    for (std::size_t u = 0; u < system.size(); ++u) {
        for (const Passage& passage : passages.OfLoop(u)) {
            passages.byElement[count[passage.index]++] = {static_cast<std::uint32_t>(u),
                                                          passage.forward};
        }
    }
}

bool IsCancelled(const CancelFlag* cancel) {
    return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

LoopSystem BuildLoopSystem(LoopBasis& basis, const CancelFlag* cancel) {
    const std::size_t elementCount = basis.elementsByNumber().size();
    LoopSystem system;
    system.passages.loopFirst.push_back(0);
    for (const LoopPath& path : basis.Build(cancel)) {
        AddLoop(system, path);
    }
    system.passages.resistance.reserve(elementCount);
    for (const CircuitElement* element : basis.elementsByNumber()) {
        system.passages.resistance.push_back(element->resistance);
    }
    IndexPassagesByElement(system, elementCount);
    return system;
}

// The elements of loop u, in the order the loop passes them.
std::vector<std::size_t> LoopElements(const LoopSystem& system, std::size_t u) {
    std::vector<std::size_t> elements;
    for (std::uint32_t i = system.pathFirst[u]; i < system.pathFirst[u + 1]; ++i) {
        elements.push_back(system.steps[i].index);
    }
    return elements;
}

// Runs Gauss-Seidel sweeps until one changes nothing. The right-hand sides are kept up to
// date incrementally: each accepted update passes its change on to the loops that share
// resistance with it (the others would only get delta times 0.0, which changes nothing).
AnalysisOutcome Sweep(LoopSystem& system, MutualTerms& terms, AnalysisReport& report,
                      const CancelFlag* cancel) {
    const std::size_t n = system.size();
    const std::uint64_t workLimit = SweepWorkLimit(n, system.passages.byLoop.size());
    std::uint64_t work = 0;
    bool changed = true;
    std::size_t lastUpdated = 0;  // a loop that still changed, when the sweeps give up
    while (changed) {
        if (report.sweeps == kMaxSweeps || work > workLimit) {
            report.failingLoop = LoopElements(system, lastUpdated);
            return AnalysisOutcome::NoConvergence;
        }
        ++report.sweeps;
        work += n;
        changed = false;
        for (std::size_t u = 0; u < n; ++u) {
            if (IsCancelled(cancel)) {
                return AnalysisOutcome::Cancelled;
            }
            const double selfResistance = system.selfResistance[u];
            const double drive = system.drive[u];
            if (selfResistance == 0.0) {
                if (drive == 0.0) {
                    continue;
                }
                report.failingLoop = LoopElements(system, u);
                return AnalysisOutcome::ZeroResistanceLoop;
            }
            const double x = drive / selfResistance;
            if (!(std::fabs(x) <= kCurrentLimit)) {
                report.failingLoop = LoopElements(system, u);
                return AnalysisOutcome::CurrentLimit;
            }
            const double delta = x - system.loopCurrent[u];
            if (std::fabs(delta) < kConvergence) {
                continue;
            }
            system.loopCurrent[u] = x;
            changed = true;
            lastUpdated = u;
            work += terms.RowLength(u);
            terms.PassOn(u, delta, system.drive.data());
        }
    }
    return AnalysisOutcome::Solved;
}

// Sweeps that do not settle have not shown that there is no solution: the same equations
// are solved at once, and where that gives currents that satisfy them, those are the result.
bool SolveInstead(LoopSystem& system, const std::vector<double>& drive, MutualTerms& terms,
                  AnalysisReport& report) {
    std::optional<std::vector<double>> currents =
        SolveDirectly(system.selfResistance, drive, terms, kCurrentLimit);
    if (!currents) {
        return false;
    }
    system.loopCurrent = std::move(*currents);
    report.outcome = AnalysisOutcome::Solved;
    report.solvedDirectly = true;
    report.failingLoop.clear();
    return true;
}

// Every element's current: the signed sum of the currents of the loops through it, added
// loop by loop in loop order.
void WriteCurrents(const LoopSystem& system, const std::vector<CircuitElement*>& elements) {
    std::vector<double> current(elements.size(), 0.0);
    for (std::size_t u = 0; u < system.size(); ++u) {
        const double loopCurrent = system.loopCurrent[u];
        for (std::uint32_t i = system.pathFirst[u]; i < system.pathFirst[u + 1]; ++i) {
            const Passage& step = system.steps[i];
            if (step.forward) {
                current[step.index] += loopCurrent;
            } else {
                current[step.index] -= loopCurrent;
            }
        }
    }
    for (std::size_t f = 0; f < elements.size(); ++f) {
        elements[f]->current = current[f];
    }
}

}  // namespace

// Settling takes more sweeps the larger the system, and each sweep more work, so the bound
// grows with the square of the system's size; small systems get a floor that lets the
// sweeps of a few dozen loops run up to kMaxSweeps as before.
const char* OutcomeName(AnalysisOutcome outcome) {
    switch (outcome) {
        case AnalysisOutcome::ZeroResistanceLoop:
            return "zero-resistance-loop";
        case AnalysisOutcome::CurrentLimit:
            return "current-limit";
        case AnalysisOutcome::NoConvergence:
            return "no-convergence";
        case AnalysisOutcome::NonFiniteValue:
            return "non-finite-value";
        case AnalysisOutcome::Cancelled:
            return "cancelled";
        case AnalysisOutcome::Solved:
            break;
    }
    return "solved";
}

std::uint64_t SweepWorkLimit(std::uint64_t loops, std::uint64_t passages) {
    const std::uint64_t size = loops + passages;
    if (size > (std::uint64_t{1} << 31)) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return std::max(kMinSweepWork, kSweepWorkPerSizeSquared * size * size);
}

bool Analyze(Circuit& circuit, AnalysisReport* reportOut, const CancelFlag* cancel) {
    AnalysisReport local;
    AnalysisReport& report = reportOut != nullptr ? *reportOut : local;
    report = AnalysisReport{};

    LoopBasis basis(circuit);
    report.failingLoop = NonFiniteElements(circuit);
    if (!report.failingLoop.empty()) {
        return Fail(circuit, report, AnalysisOutcome::NonFiniteValue);
    }
    LoopSystem system = BuildLoopSystem(basis, cancel);
    if (IsCancelled(cancel)) {
        return Fail(circuit, report, AnalysisOutcome::Cancelled);
    }
    report.loops = system.size();

    MutualTerms terms(system.passages, kStoredMutualEntries);
    const std::vector<double> drive = system.drive;  // the sweeps change their copy
    const AnalysisOutcome outcome = Sweep(system, terms, report, cancel);
    if (outcome == AnalysisOutcome::NoConvergence && SolveInstead(system, drive, terms, report)) {
        WriteCurrents(system, basis.elementsByNumber());
        return true;
    }
    if (outcome != AnalysisOutcome::Solved) {
        return Fail(circuit, report, outcome);
    }
    WriteCurrents(system, basis.elementsByNumber());
    return true;
}

}  // namespace kelno
