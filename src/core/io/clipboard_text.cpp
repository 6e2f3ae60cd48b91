#include "io/clipboard_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <system_error>

#include "numeric/bit_cast.h"
#include "text/number_text.h"

namespace kelno {

namespace {

// Moves a coordinate by an offset, staying within the range that the text can carry.
std::int32_t Shifted(std::int32_t value, std::int64_t offset) {
    const std::int64_t moved = std::int64_t{value} + offset;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        moved, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

ClipboardElement ElementLine(const CircuitElement& element, std::int32_t end1, std::int32_t end2) {
    ElementRecord record = element.Record();
    record.serial = 0;
    return {end1, end2, record};
}

// Accepts what a classic-locale number reader accepts for one whole word: an optional
// sign and the number itself, nothing after it.
template <class T>
bool ParseWord(std::string_view word, T& value) {
    if (word.size() > 1 && word.front() == '+' && word[1] != '-' && word[1] != '+') {
        word.remove_prefix(1);
    }
    const char* first = word.data();
    const char* last = word.data() + word.size();
    std::from_chars_result result;
    if constexpr (std::is_floating_point_v<T>) {
        result = ParseDouble(first, last, value);
    } else {
        result = std::from_chars(first, last, value);
    }
    return result.ec == std::errc() && result.ptr == last;
}

bool ReadsBackExactly(const std::string& text, double value) {
    double back = 0.0;
    return ParseWord(text, back) &&
           BitCast<std::uint64_t>(back) == BitCast<std::uint64_t>(value);
}

// Hands out the whitespace-delimited words of the text one by one.
class WordReader {
public:
    explicit WordReader(std::string_view text) : text_(text.substr(0, text.find('\0'))) {}

    bool Next(std::string_view& word) {
        std::size_t start = position_;
        while (start < text_.size() && IsSpace(text_[start])) {
            ++start;
        }
        std::size_t end = start;
        while (end < text_.size() && !IsSpace(text_[end])) {
            ++end;
        }
        position_ = end;
        word = text_.substr(start, end - start);
        return !word.empty();
    }

    template <class T>
    bool Read(T& value) {
        std::string_view word;
        return Next(word) && ParseWord(word, value);
    }

private:
    static bool IsSpace(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

ClipboardParseResult Failure(ClipboardParseStatus status, std::string error) {
    ClipboardParseResult result;
    result.status = status;
    result.error = std::move(error);
    return result;
}

ClipboardParseResult Malformed(const std::string& error) {
    return Failure(ClipboardParseStatus::Malformed, error);
}

bool IsFinite(const ElementRecord& record) {
    return std::isfinite(record.resistance) && std::isfinite(record.current) &&
           std::isfinite(record.emf);
}

// Reads one element line and checks its point numbers against the points read.
bool ReadElement(WordReader& in, std::size_t pointCount, ClipboardElement& element,
                 std::string& error, std::size_t number) {
    std::int32_t end1 = 0;
    std::int32_t end2 = 0;
    std::int32_t kind = 0;
    ElementRecord& record = element.record;
    if (!in.Read(end1) || !in.Read(end2) || !in.Read(kind) || !in.Read(record.resistance) ||
        !in.Read(record.current) || !in.Read(record.emf)) {
        error = "素子 " + std::to_string(number) + " の値が足りないか、数として読めません。";
        return false;
    }
    const auto inRange = [pointCount](std::int32_t n) {
        return n >= 1 && static_cast<std::size_t>(n) <= pointCount;
    };
    if (!inRange(end1) || !inRange(end2)) {
        error = "素子 " + std::to_string(number) + " の端点の番号が 1 から " +
                std::to_string(pointCount) + " の範囲にありません。";
        return false;
    }
    if (!IsFinite(record)) {
        error = "素子 " + std::to_string(number) + " に有限でない値があります。";
        return false;
    }
    element.end1 = end1 - 1;
    element.end2 = end2 - 1;
    record.kind = KindFromCode(kind);
    return true;
}

}  // namespace

ClipboardData SelectionClipboardData(const Circuit& circuit, std::int32_t offset) {
    ClipboardData data;
    if (circuit.pointSelected() || circuit.selection().empty()) {
        return data;
    }
    std::map<const CircuitPoint*, std::int32_t, PointOrder> numbers;
    for (const CircuitElement* element : circuit.selection()) {
        numbers.emplace(element->end1(), 0);
        numbers.emplace(element->end2(), 0);
    }
    std::int32_t next = 0;
    for (auto& [point, number] : numbers) {
        number = next++;
        data.points.push_back(
            {Shifted(point->x, offset), Shifted(point->y, -std::int64_t{offset})});
    }
    for (const CircuitElement* element : circuit.selection()) {
        data.elements.push_back(
            ElementLine(*element, numbers.at(element->end1()), numbers.at(element->end2())));
    }
    return data;
}

ClipboardData WholeCircuitClipboardData(const Circuit& circuit) {
    ClipboardData data;
    std::map<const CircuitPoint*, std::int32_t> numbers;
    for (const CircuitPoint& point : circuit.points()) {
        numbers.emplace(&point, static_cast<std::int32_t>(data.points.size()));
        data.points.push_back({point.x, point.y});
    }
    for (const CircuitElement& element : circuit.elements()) {
        data.elements.push_back(
            ElementLine(element, numbers.at(element.end1()), numbers.at(element.end2())));
    }
    return data;
}

std::string WriteClipboardText(const ClipboardData& data) {
    std::string text(kClipboardWord);
    text += "\r\n" + std::to_string(data.points.size()) + " " +
            std::to_string(data.elements.size()) + "\r\n";
    for (const ClipboardPoint& point : data.points) {
        text += std::to_string(point.x) + " " + std::to_string(point.y) + "\r\n";
    }
    for (const ClipboardElement& element : data.elements) {
        const ElementRecord& r = element.record;
        text += std::to_string(element.end1 + 1) + " " + std::to_string(element.end2 + 1) + " " +
                std::to_string(KindCode(r.kind)) + " " + FormatClipboardValue(r.resistance) + " " +
                FormatClipboardValue(r.current) + " " + FormatClipboardValue(r.emf) + "\r\n";
    }
    return text;
}

std::string FormatClipboardValue(double value) {
    std::string text = FormatGeneral(value, 6);  // what "%g" writes
    if (!std::isfinite(value)) {
        return text;
    }
    for (int precision = 7; !ReadsBackExactly(text, value) && precision <= 17; ++precision) {
        text = FormatGeneral(value, precision);
    }
    return text;
}

bool IsClipboardText(std::string_view text) {
    WordReader in(text);
    std::string_view word;
    return in.Next(word) && word == kClipboardWord;
}

ClipboardParseResult ParseClipboardText(std::string_view text) {
    WordReader in(text);
    std::string_view word;
    if (!in.Next(word) || word != kClipboardWord) {
        return Failure(ClipboardParseStatus::NotClipboardText,
                       "Kelno のﾃﾞｰﾀではありません (KelnoData で始まっていません)。");
    }
    std::int32_t pointCount = 0;
    std::int32_t elementCount = 0;
    if (!in.Read(pointCount) || !in.Read(elementCount)) {
        return Malformed("点と素子の数が読めません。");
    }
    if (pointCount < 0 || elementCount < 0) {
        return Malformed("点や素子の数が負です。");
    }
    // The counts are not trusted for reserving memory: the text itself bounds what is read.
    ClipboardParseResult result;
    for (std::int32_t i = 0; i < pointCount; ++i) {
        ClipboardPoint point;
        if (!in.Read(point.x) || !in.Read(point.y)) {
            return Malformed("点 " + std::to_string(i + 1) +
                             " の座標が足りないか、整数として読めません。");
        }
        result.data.points.push_back(point);
    }
    std::string error;
    for (std::int32_t i = 0; i < elementCount; ++i) {
        ClipboardElement element;
        if (!ReadElement(in, result.data.points.size(), element, error,
                         static_cast<std::size_t>(i) + 1)) {
            return Malformed(error);
        }
        result.data.elements.push_back(element);
    }
    result.status = ClipboardParseStatus::Ok;
    return result;
}

}  // namespace kelno
