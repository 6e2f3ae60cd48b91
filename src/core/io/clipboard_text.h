#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/circuit.h"

namespace kelno {

// The word that clipboard text of the program begins with.
inline constexpr std::string_view kClipboardWord = "KelnoData";

// One point line of clipboard text.
struct ClipboardPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const ClipboardPoint&) const = default;
};

// One element line: its two ends as 0-based positions in the point lines (the text
// numbers them from 1), and the values of the element (`serial` is not carried).
struct ClipboardElement {
    std::int32_t end1 = 0;
    std::int32_t end2 = 0;
    ElementRecord record;
};

// What one piece of clipboard text holds: points, then elements between them.
struct ClipboardData {
    std::vector<ClipboardPoint> points;
    std::vector<ClipboardElement> elements;
};

// The selected elements of `circuit` with their distinct ends, as Copy puts them on the
// clipboard: ends in the order of the points' links, moved by `offset` to the right and
// down. Empty when a point is selected or no element is.
ClipboardData SelectionClipboardData(const Circuit& circuit, std::int32_t offset);

// Every point and every element of `circuit` in list order, points without elements
// included, so that pasting the text into an empty circuit rebuilds the same circuit.
ClipboardData WholeCircuitClipboardData(const Circuit& circuit);

// The text, with CR LF line ends and without a terminating NUL.
std::string WriteClipboardText(const ClipboardData& data);

// A value as element lines hold it: as "%g" writes it when that reads back to the very
// same double, otherwise with just as many significant digits as it takes to.
std::string FormatClipboardValue(double value);

// Whether the first whitespace-delimited word of `text` is exactly "KelnoData"; the
// paste command is offered exactly then.
bool IsClipboardText(std::string_view text);

enum class ClipboardParseStatus {
    Ok,
    NotClipboardText,  // the first word is not "KelnoData"
    Malformed,         // missing or unreadable values, bad counts or point numbers
};

struct ClipboardParseResult {
    ClipboardParseStatus status = ClipboardParseStatus::Malformed;
    ClipboardData data;
    std::string error;  // for the user (UTF-8), when status is not Ok
};

// Reads clipboard text completely or not at all. Line breaks are whitespace like any
// other, numbers are read in the classic locale, a NUL ends the text, and whatever
// follows the last element line is ignored. Counts must not be negative, point numbers
// must lie in 1 to the point count, and element values must be finite.
ClipboardParseResult ParseClipboardText(std::string_view text);

}  // namespace kelno
