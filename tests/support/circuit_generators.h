#pragma once

#include <cstdint>

#include "model/circuit.h"

namespace kelno::testing {

// Generated circuits for the tests and the benchmarks: large regular networks and small
// random ones with every oddity a document can hold.

// How a grid's elements are laid down.
enum class GridOrder {
    Natural,   // row by row, each element from left to right or top to bottom
    Shuffled,  // points and elements in a random order, elements turned at random
};

// A rows x cols grid of points, neighbours joined by 10-ohm resistors, and a default battery
// (1.5 V, 0.1 ohm) across opposite corners, added after the resistors. rows x cols points,
// 2 rows cols - rows - cols + 1 elements.
Circuit ResistorGrid(int rows, int cols, GridOrder order = GridOrder::Natural,
                     std::uint64_t seed = 0);

// The same grid with the elements of a classroom: resistors, bulbs, wires, ammeters,
// closed switches and a battery in turn, with default values, and the corner battery.
Circuit ClassroomGrid(int rows, int cols);

// A battery feeding a ladder: `rungs` bulbs between two rails of 1-ohm resistors, 3 rungs
// + 1 elements, in natural order (rung by rung).
Circuit Ladder(int rungs);

// What a random circuit may hold.
struct RandomCircuitOptions {
    int maxPoints = 12;
    int maxElements = 24;
    bool negativeResistances = true;  // some resistances below zero
    bool zeroResistances = true;      // some 0-ohm batteries and resistors
};

// A small random circuit: wires, batteries, resistors, meters, bulbs and switches (some
// open) between random points, with elements whose ends coincide, elements on points that
// are already joined (which stand in the circuit without a link), dangling elements, and
// odd values. The same seed gives the same circuit.
Circuit RandomCircuit(std::uint64_t seed, const RandomCircuitOptions& options = {});

}  // namespace kelno::testing
