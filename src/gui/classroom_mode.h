#pragma once

#include <QObject>
#include <cstdint>
#include <string>
#include <string_view>

#include "render/classroom_layers.h"
#include "render/draw_circuit.h"

namespace kelno {

class CKelnoDoc;

// What the classroom adds to the editor's picture of the document, and its state: the red
// highlight of the loop that made the analysis fail with its sentence after "Short",
// predict mode with the readings revealed until the next change of the circuit, and the
// potentials at the points. The options live in the user's settings, never in the file.
class ClassroomMode : public QObject {
    Q_OBJECT

public:
    explicit ClassroomMode(CKelnoDoc& document, QObject* parent = nullptr);

    bool explainShort() const { return options_.explainShort; }
    bool predictMode() const { return options_.hideReadings; }
    bool showPotentials() const { return options_.showPotentials; }
    bool markUnjoinedEnds() const { return options_.markUnjoinedEnds; }
    bool warnLargeCurrent() const { return options_.warnLargeCurrent; }
    bool revealed() const { return revealed_; }
    // Predict mode while the readings are not revealed.
    bool readingsHidden() const { return predictMode() && !revealed_; }

    // Each of these is kept in the user's settings at once.
    void SetExplainShort(bool on);
    void SetPredictMode(bool on);
    void SetShowPotentials(bool on);
    void SetMarkUnjoinedEnds(bool on);
    void SetWarnLargeCurrent(bool on);
    // Predict mode for this run, as the command line asks; the setting stays as it is.
    void StartInPredictMode();
    // Shows the readings of predict mode until the circuit next changes.
    void Reveal();

    // The classroom layers of a drawing of the document's live circuit: the options, with
    // the readings hidden only while predict mode has not revealed them.
    ClassroomOptions shownOptions() const;
    // The status-bar text for one that the drawing sends: "Short" gains the sentence about
    // the loop while the highlight is on.
    std::string StatusText(std::string_view drawn) const;
    // Selects the elements of the loop that made the analysis fail, instead of whatever was
    // selected. False, changing nothing, when there is no short or the highlight is off.
    bool SelectFailingLoop();

signals:
    // The picture or the commands' states change: the view repaints.
    void changed();

private:
    void HideAgainAfterEdit();
    void Store() const;

    CKelnoDoc& document_;
    ClassroomOptions options_;
    bool revealed_ = false;
    // The state of the circuit whose readings were revealed.
    std::uint64_t revealedState_ = 0;
};

}  // namespace kelno
