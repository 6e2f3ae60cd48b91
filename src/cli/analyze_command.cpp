#include <cstdio>
#include <optional>
#include <string>

#include "analysis/point_potentials.h"
#include "command_line.h"
#include "commands.h"
#include "kel_loading.h"
#include "model/element_catalogue.h"
#include "render/short_explanation.h"
#include "text/code_page_932.h"
#include "text/number_text.h"

namespace kelno::cli {

namespace {

std::string KindName(ElementKind kind) {
    const ElementKindInfo* info = FindKindInfo(kind);
    return std::string(info != nullptr ? info->fullName : "不明");
}

const char* OutcomeText(const AnalysisReport& report) {
    switch (report.outcome) {
        case AnalysisOutcome::Solved:
            return report.solvedDirectly
                       ? "解析成功 (反復計算が収束しないため、閉路方程式を直接解きました)"
                       : "解析成功";
        case AnalysisOutcome::ZeroResistanceLoop:
            return "Short (抵抗のない閉路に起電力があります)";
        case AnalysisOutcome::CurrentLimit:
            return "Short (電流が 1000000 A を超えます)";
        case AnalysisOutcome::NoConvergence:
            return "Short (反復計算が収束しません)";
        case AnalysisOutcome::NonFiniteValue:
            return "Short (値が有限の数ではありません)";
        case AnalysisOutcome::Cancelled:
            return "解析を中断しました";
    }
    return "";
}

// A double for JSON: the shortest text that reads back to the same value; null when not finite.
std::string JsonNumber(double value) {
    const std::string text = ShortestRoundTrip(value);
    return text == "inf" || text == "-inf" || text == "nan" || text == "-nan" ? "null" : text;
}

std::string NumberList(const std::vector<std::size_t>& numbers, const char* separator) {
    std::string out;
    for (const std::size_t number : numbers) {
        if (!out.empty()) {
            out += separator;
        }
        out += std::to_string(number);
    }
    return out;
}

// Why the analysis failed and the elements of the loop that failed; null after a success.
std::string ShortJson(const AnalysisReport& report) {
    if (report.outcome == AnalysisOutcome::Solved) {
        return "null";
    }
    return std::string("{\"reason\": \"") + OutcomeName(report.outcome) + "\", \"elements\": [" +
           NumberList(report.failingLoop, ", ") + "]}";
}

// Each point's potential in volts, in point order; null for a point whose piece of the
// circuit has no battery, and for every point when the analysis failed.
std::string PotentialsJson(const Document& document) {
    const Circuit& circuit = document.circuit();
    const PointPotentialList potentials = document.shortCircuit()
                                              ? PointPotentialList(circuit.PointCount())
                                              : PointPotentials(circuit);
    std::string out = "[";
    const char* separator = "";
    for (const std::optional<double>& potential : potentials) {
        out += separator;
        out += potential ? JsonNumber(*potential) : "null";
        separator = ", ";
    }
    return out + "]";
}

void PrintJson(const Document& document) {
    const Circuit& circuit = document.circuit();
    std::string out = "{\"ok\": ";
    out += document.shortCircuit() ? "false" : "true";
    out += ", \"version\": " + std::to_string(document.fileVersion());
    out += ", \"points\": [";
    const char* separator = "";
    for (const CircuitPoint& point : circuit.points()) {
        out += separator;
        out += "[" + std::to_string(point.x) + ", " + std::to_string(point.y) + "]";
        separator = ", ";
    }
    out += "], \"elements\": [";
    separator = "";
    for (const CircuitElement& element : circuit.elements()) {
        out += separator;
        out += "{\"kind\": " + std::to_string(KindCode(element.kind));
        out += ", \"end1\": " + std::to_string(element.end1()->serial);
        out += ", \"end2\": " + std::to_string(element.end2()->serial);
        out += ", \"resistance\": " + JsonNumber(element.resistance);
        out += ", \"emf\": " + JsonNumber(element.emf);
        out += ", \"current\": " + JsonNumber(element.current);
        out += "}";
        separator = ", ";
    }
    out += "], \"potentials\": " + PotentialsJson(document);
    out += ", \"short\": " + ShortJson(document.lastAnalysis());
    out += ", \"solvedDirectly\": ";
    out += document.lastAnalysis().solvedDirectly ? "true" : "false";
    out += "}\n";
    std::fputs(out.c_str(), stdout);
}

// Columns padded by the width a terminal gives the text: two cells for kana, kanji and
// full-width signs, one for Latin and Greek letters and for half-width katakana.
std::string Cell(const std::string& text, std::size_t width, bool right = false) {
    std::size_t cells = 0;
    for (char32_t c : Utf8ToUtf16(text)) {
        cells += (c < 0x1100 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2;
    }
    const std::string padding(width > cells ? width - cells : 0, ' ');
    return right ? padding + text : text + padding;
}

void PrintTable(const std::string& path, const Document& document) {
    const Circuit& circuit = document.circuit();
    const AnalysisReport& report = document.lastAnalysis();
    std::printf("%s: 版 %d, 点 %zu, 素子 %zu, 閉路 %zu, 反復 %zu\n", path.c_str(),
                document.fileVersion(), circuit.PointCount(), circuit.ElementCount(), report.loops,
                report.sweeps);
    std::printf("%s\n", OutcomeText(report));
    if (report.outcome != AnalysisOutcome::Solved) {
        std::printf("閉路の素子: %s\n%s\n", NumberList(report.failingLoop, ", ").c_str(),
                    ShortStatusLine(circuit, report.outcome, report.failingLoop).c_str());
    }
    const auto row = [](const std::string& number, const std::string& kind, const std::string& end1,
                        const std::string& end2, const std::string& resistance,
                        const std::string& emf, const std::string& current) {
        std::printf("%s  %s %s %s  %s %s %s\n", Cell(number, 5, true).c_str(),
                    Cell(kind, 8).c_str(), Cell(end1, 5, true).c_str(), Cell(end2, 5, true).c_str(),
                    Cell(resistance, 24).c_str(), Cell(emf, 24).c_str(), current.c_str());
    };
    row("番号", "種類", "端1", "端2", "抵抗 [Ω]", "起電力 [V]", "電流 [A]");
    int number = 0;
    for (const CircuitElement& element : circuit.elements()) {
        row(std::to_string(number++), KindName(element.kind),
            std::to_string(element.end1()->serial), std::to_string(element.end2()->serial),
            ShortestRoundTrip(element.resistance), ShortestRoundTrip(element.emf),
            ShortestRoundTrip(element.current));
    }
}

}  // namespace

int RunAnalyze(const std::vector<std::string>& args) {
    CommandLine line;
    std::string error;
    if (!line.Parse(args, {{"--json", false}, {"--open-newer", false}}, error) ||
        line.words().size() != 1) {
        PrintError(error.empty() ? "使い方: kelno-cli analyze FILE.kel [--json] [--open-newer]"
                                 : error);
        return kExitUsage;
    }
    LoadedKel loaded;
    if (!LoadKel(line.words()[0], line.Has("--open-newer"), loaded)) {
        return kExitBadInput;
    }
    if (line.Has("--json")) {
        PrintJson(loaded.document);
    } else {
        PrintTable(line.words()[0], loaded.document);
    }
    return kExitOk;
}

}  // namespace kelno::cli
