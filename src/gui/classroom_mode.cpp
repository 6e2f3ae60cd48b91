#include "classroom_mode.h"

#include "ckelnodoc.h"
#include "classroom_settings.h"
#include "render/short_explanation.h"

namespace kelno {

ClassroomMode::ClassroomMode(CKelnoDoc& document, QObject* parent)
    : QObject(parent), document_(document), options_(ClassroomSettings::Read()) {
    connect(&document_, &CKelnoDoc::repaintRequested, this, &ClassroomMode::HideAgainAfterEdit);
}

void ClassroomMode::SetExplainShort(bool on) {
    options_.explainShort = on;
    Store();
    emit changed();
}

void ClassroomMode::SetPredictMode(bool on) {
    options_.hideReadings = on;
    revealed_ = false;
    Store();
    emit changed();
}

void ClassroomMode::SetShowPotentials(bool on) {
    options_.showPotentials = on;
    Store();
    emit changed();
}

void ClassroomMode::SetMarkUnjoinedEnds(bool on) {
    options_.markUnjoinedEnds = on;
    Store();
    emit changed();
}

void ClassroomMode::SetWarnLargeCurrent(bool on) {
    options_.warnLargeCurrent = on;
    Store();
    emit changed();
}

void ClassroomMode::StartInPredictMode() {
    options_.hideReadings = true;
    revealed_ = false;
    emit changed();
}

void ClassroomMode::Reveal() {
    if (!readingsHidden()) {
        return;
    }
    revealed_ = true;
    revealedState_ = document_.core().history().CurrentState();
    emit changed();
}

// Every change of the circuit (an edit, undo and redo, a new or opened file) gives the live
// circuit a new state; selecting and repainting do not.
void ClassroomMode::HideAgainAfterEdit() {
    if (revealed_ && document_.core().history().CurrentState() != revealedState_) {
        revealed_ = false;
        emit changed();
    }
}

void ClassroomMode::Store() const {
    ClassroomSettings::Write(options_);
}

ClassroomOptions ClassroomMode::shownOptions() const {
    ClassroomOptions shown = options_;
    shown.hideReadings = readingsHidden();
    return shown;
}

std::string ClassroomMode::StatusText(std::string_view drawn) const {
    const Document& core = document_.core();
    if (drawn != kShortStatusText || !options_.explainShort || !core.shortCircuit()) {
        return std::string(drawn);
    }
    const AnalysisReport& analysis = core.lastAnalysis();
    return ShortStatusLine(core.circuit(), analysis.outcome, analysis.failingLoop);
}

bool ClassroomMode::SelectFailingLoop() {
    Document& core = document_.core();
    if (!options_.explainShort || !core.shortCircuit()) {
        return false;
    }
    Circuit& circuit = core.circuit();
    const std::vector<CircuitElement*> loop = ElementsAt(circuit, core.lastAnalysis().failingLoop);
    if (loop.empty()) {
        return false;
    }
    circuit.ClearPointSelection();
    circuit.ClearSelection();
    for (CircuitElement* element : loop) {
        circuit.Select(element);
    }
    emit changed();
    return true;
}

}  // namespace kelno
