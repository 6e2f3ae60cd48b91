#pragma once

#include "render/classroom_layers.h"

namespace kelno {

// The classroom options of the editor in the user's settings, QSettings("Morlan", "Kelno"),
// in a group of their own ("Classroom"): whether the loop of a short is highlighted
// ("ExplainShort", on unless turned off), predict mode ("PredictMode": `hideReadings` here
// stands for the mode, whether or not the readings are revealed at the moment) and the
// potentials at the points ("ShowPotentials"), and the warning signs on ends that look joined
// and are not ("MarkUnjoinedEnds") and on a battery with a large current ("WarnLargeCurrent"),
// both on unless turned off. Never in a document's file, so that a file
// opens the same in every copy of the program.
class ClassroomSettings {
public:
    static constexpr const char* kGroup = "Classroom";

    // The stored options; the defaults for what is missing or cannot be read.
    static ClassroomOptions Read();
    static void Write(const ClassroomOptions& options);
};

}  // namespace kelno
