#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "model/circuit.h"

namespace kelno {

// The format version that files are written with; divided by 100 it is the program version.
inline constexpr std::int32_t kFormatVersion = 106;
// The first version whose files carry the option block after the comment.
inline constexpr std::int32_t kFirstVersionWithOptions = 102;

// Screen rectangle of the main window, in pixels.
struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int64_t width() const { return std::int64_t{right} - left; }
    std::int64_t height() const { return std::int64_t{bottom} - top; }
    bool operator==(const WindowRect&) const = default;
};

// Everything a .kel file holds besides the circuit. A default-constructed value holds the
// defaults that a file without an option block loads with.
struct KelFileContents {
    std::int32_t version = kFormatVersion;  // as read; files are always written as 106
    WindowRect window;
    std::string commentText;  // code page 932 bytes
    std::int32_t showCommentOnOpen = 0;
    bool noDiagonalWires = false;
    bool smoothDisplay = false;
    bool showCurrentFlow = true;
    std::int32_t undoBufferSize = 10;
};

enum class KelReadStatus {
    Ok,
    NewerVersionRefused,  // the question about a newer version was not answered Yes
    Malformed,            // not a .kel file, or one that ends early or refers to no point
};

struct KelReadResult {
    KelReadStatus status = KelReadStatus::Malformed;
    KelFileContents contents;
    Circuit circuit;
    // The message for the user when status is not Ok (UTF-8).
    std::string error;
};

// Asked with the version found when a file is newer than this program; true opens it.
using NewerVersionQuestion = std::function<bool(std::int32_t version)>;

// The text of the newer-version question for a version number (107 gives "... (1.07) ...").
std::string NewerVersionQuestionText(std::int32_t version);

// Parses a whole file. Nothing outside the result changes, whatever the bytes hold; the
// circuit of a rejected file is empty. The stored currents are read as they stand.
KelReadResult ReadKel(std::span<const std::uint8_t> bytes, const NewerVersionQuestion& ask);

// The bytes of a file holding `circuit` and `contents` (whose version is not used: files are
// written as version 106). Writes each point's list position into its `serial`.
std::vector<std::uint8_t> WriteKel(Circuit& circuit, const KelFileContents& contents);

}  // namespace kelno
