#include "io/kel_file.h"

#include <limits>

#include "io/byte_reader.h"
#include "io/byte_writer.h"
#include "messages.h"
#include "text/code_page_932.h"
#include "text/number_text.h"

namespace kelno {

namespace {

constexpr std::size_t kPointRecordSize = 8;     // int32 x, int32 y
constexpr std::size_t kElementRecordSize = 36;  // end1, end2, kind, resistance, current, emf

// The marker of a length prefix: one byte 0xFF, then a uint16 that is either the length,
// 0xFFFF (a uint32 length follows) or 0xFFFE (a UTF-16 string with its own prefix follows).
constexpr std::uint8_t kLongLength = 0xFF;
constexpr std::uint16_t kVeryLongLength = 0xFFFF;
constexpr std::uint16_t kWideStringMark = 0xFFFE;

// Reads one of the three length forms; `wide` tells whether the wide mark came first.
bool ReadLength(ByteReader& in, std::uint32_t& length, bool& wide) {
    std::uint8_t shortLength;
    if (!in.ReadUint8(shortLength)) {
        return false;
    }
    if (shortLength < kLongLength) {
        length = shortLength;
        return true;
    }
    std::uint16_t longLength;
    if (!in.ReadUint16(longLength)) {
        return false;
    }
    if (longLength == kWideStringMark && !wide) {
        wide = true;
        return ReadLength(in, length, wide);
    }
    if (longLength < kVeryLongLength) {
        length = longLength;
        return true;
    }
    return in.ReadUint32(length);
}

bool ReadComment(ByteReader& in, std::string& text) {
    std::uint32_t length = 0;
    bool wide = false;
    if (!ReadLength(in, length, wide)) {
        return false;
    }
    if (!wide) {
        return in.ReadBytes(length, text);
    }
    if (length > in.remaining() / 2) {
        return false;
    }
    std::string raw;
    in.ReadBytes(std::size_t{length} * 2, raw);
    std::u16string units(length, u'\0');
    for (std::size_t i = 0; i < length; ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                         (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
    }
    text = Utf16ToCp932(units);
    return true;
}

void WriteLengthPrefixed(ByteWriter& out, const std::string& text) {
    const std::size_t n = text.size();
    if (n < kLongLength) {
        out.WriteUint8(static_cast<std::uint8_t>(n));
    } else if (n < kWideStringMark) {
        out.WriteUint8(kLongLength);
        out.WriteUint16(static_cast<std::uint16_t>(n));
    } else {
        out.WriteUint8(kLongLength);
        out.WriteUint16(kVeryLongLength);
        out.WriteUint32(static_cast<std::uint32_t>(n));
    }
    out.WriteBytes(text);
}

KelReadResult Rejected(KelReadStatus status, const char* message) {
    KelReadResult result;
    result.status = status;
    result.error = message;
    return result;
}

KelReadResult Malformed() {
    return Rejected(KelReadStatus::Malformed, messages::kUnexpectedFileFormat);
}

// Reads the point records one by one; a count larger than the bytes left fails at once,
// before anything is allocated for it.
bool ReadPoints(ByteReader& in, Circuit& circuit, std::vector<CircuitPoint*>& byNumber) {
    std::int32_t count;
    if (!in.ReadInt32(count)) {
        return false;
    }
    if (count <= 0) {
        return true;
    }
    if (static_cast<std::size_t>(count) > in.remaining() / kPointRecordSize) {
        return false;
    }
    byNumber.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t x = 0;
        std::int32_t y = 0;
        in.ReadInt32(x);
        in.ReadInt32(y);
        byNumber.push_back(circuit.AddPoint(i, x, y));
    }
    return true;
}

bool ReadElements(ByteReader& in, Circuit& circuit, const std::vector<CircuitPoint*>& points) {
    std::int32_t count;
    if (!in.ReadInt32(count)) {
        return false;
    }
    if (count <= 0) {
        return true;
    }
    if (static_cast<std::size_t>(count) > in.remaining() / kElementRecordSize) {
        return false;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t end1 = 0;
        std::int32_t end2 = 0;
        std::int32_t kind = 0;
        ElementRecord record;
        in.ReadInt32(end1);
        in.ReadInt32(end2);
        in.ReadInt32(kind);
        in.ReadDouble(record.resistance);
        in.ReadDouble(record.current);
        in.ReadDouble(record.emf);
        const auto pointCount = static_cast<std::int64_t>(points.size());
        if (end1 < 0 || end1 >= pointCount || end2 < 0 || end2 >= pointCount) {
            return false;
        }
        record.kind = KindFromCode(kind);
        record.serial = i;
        circuit.AddElement(record, points[end1], points[end2]);
    }
    return true;
}

bool ReadOptions(ByteReader& in, KelFileContents& contents) {
    std::uint8_t noDiagonal;
    std::uint8_t smooth;
    std::uint8_t flow;
    if (!in.ReadInt32(contents.showCommentOnOpen) || !in.ReadUint8(noDiagonal) ||
        !in.ReadUint8(smooth) || !in.ReadUint8(flow) || !in.ReadInt32(contents.undoBufferSize)) {
        return false;
    }
    contents.noDiagonalWires = noDiagonal != 0;
    contents.smoothDisplay = smooth != 0;
    contents.showCurrentFlow = flow != 0;
    return true;
}

}  // namespace

std::string NewerVersionQuestionText(std::int32_t version) {
    std::string text = messages::kNewerVersionQuestion;
    text.replace(text.find("%g"), 2, FormatGeneral(version * 0.01));
    return text;
}

KelReadResult ReadKel(std::span<const std::uint8_t> bytes, const NewerVersionQuestion& ask) {
    ByteReader in(bytes);
    KelReadResult result;
    KelFileContents& contents = result.contents;

    if (!in.ReadInt32(contents.version)) {
        return Malformed();
    }
    if (contents.version > kFormatVersion && !(ask && ask(contents.version))) {
        return Rejected(KelReadStatus::NewerVersionRefused, messages::kOpenFailed);
    }
    WindowRect& w = contents.window;
    std::vector<CircuitPoint*> points;
    if (!in.ReadInt32(w.left) || !in.ReadInt32(w.top) || !in.ReadInt32(w.right) ||
        !in.ReadInt32(w.bottom) || !ReadPoints(in, result.circuit, points) ||
        !ReadElements(in, result.circuit, points) || !ReadComment(in, contents.commentText)) {
        return Malformed();
    }

    // Files without the option block get the defaults; the comment opens by itself
    // exactly when there is one.
    contents.showCommentOnOpen = contents.commentText.empty() ? 0 : 1;
    if (contents.version >= kFirstVersionWithOptions && !ReadOptions(in, contents)) {
        return Malformed();
    }
    result.status = KelReadStatus::Ok;
    return result;
}

std::vector<std::uint8_t> WriteKel(Circuit& circuit, const KelFileContents& contents) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(64 + circuit.PointCount() * kPointRecordSize +
                  circuit.ElementCount() * kElementRecordSize + contents.commentText.size());
    ByteWriter out(bytes);
    out.WriteInt32(kFormatVersion);
    out.WriteInt32(contents.window.left);
    out.WriteInt32(contents.window.top);
    out.WriteInt32(contents.window.right);
    out.WriteInt32(contents.window.bottom);

    out.WriteInt32(static_cast<std::int32_t>(circuit.PointCount()));
    std::int32_t number = 0;
    for (CircuitPoint& point : circuit.points()) {
        out.WriteInt32(point.x);
        out.WriteInt32(point.y);
        point.serial = number++;
    }
    out.WriteInt32(static_cast<std::int32_t>(circuit.ElementCount()));
    for (const CircuitElement& element : circuit.elements()) {
        out.WriteInt32(element.end1()->serial);
        out.WriteInt32(element.end2()->serial);
        out.WriteInt32(KindCode(element.kind));
        out.WriteDouble(element.resistance);
        out.WriteDouble(element.current);
        out.WriteDouble(element.emf);
    }

    WriteLengthPrefixed(out, contents.commentText);
    out.WriteInt32(contents.showCommentOnOpen);
    out.WriteUint8(contents.noDiagonalWires ? 1 : 0);
    out.WriteUint8(contents.smoothDisplay ? 1 : 0);
    out.WriteUint8(contents.showCurrentFlow ? 1 : 0);
    out.WriteInt32(contents.undoBufferSize);
    return bytes;
}

}  // namespace kelno
