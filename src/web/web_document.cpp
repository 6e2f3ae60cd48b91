#include "web_document.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <unordered_map>
#include <vector>

#include "analysis/point_potentials.h"
#include "document/clipboard_commands.h"
#include "document/picture_settings.h"
#include "document/string_clipboard.h"
#include "editing/details_rules.h"
#include "editing/press_preview.h"
#include "messages.h"
#include "render/recording_surface.h"
#include "render/short_explanation.h"
#include "text/code_page_932.h"
#include "text/details_number.h"

namespace kelno::web {

using emscripten::val;

namespace {

// A copy of numbers or bytes for JavaScript as a typed array: the view into the module's
// memory would change under the page with the memory's next growth.
template <class T>
val TypedCopy(const std::vector<T>& values) {
    return val(emscripten::typed_memory_view(values.size(), values.data())).call<val>("slice");
}

val BytesOf(const std::vector<std::uint8_t>& bytes) {
    return TypedCopy(bytes);
}

// A short JavaScript array of numbers: a point, a line's two ends, a rectangle's corners.
val NumberArray(std::initializer_list<double> numbers) {
    val list = val::array();
    for (const double number : numbers) {
        list.call<void>("push", number);
    }
    return list;
}

const char* EventName(DocumentEvent event) {
    switch (event) {
        case DocumentEvent::Repaint:
            return "repaint";
        case DocumentEvent::ModifiedChanged:
            return "modified";
        case DocumentEvent::ToolChanged:
            return "tool";
        case DocumentEvent::CircuitReplaced:
            return "replaced";
        case DocumentEvent::AnalysisRequested:
            break;  // the page looks for a pending analysis after every event it is told
    }
    return nullptr;
}

// Between the texts of a drawing on their way to JavaScript; no label holds it.
constexpr char kTextSeparator = '\x1f';

bool Flag(const val& options, const char* name) {
    const val value = options[name];
    return !value.isUndefined() && value.as<bool>();
}

}  // namespace

// The web page is a 96 dpi screen in CSS pixels until the page says otherwise.
WebDocument::WebDocument()
    : scale_(ViewScale::FromDpi(96.0, 96.0)),
      controller_(std::make_unique<EditController>(document_, static_cast<EditingPort&>(*this), scale_)) {
    document_.Subscribe([this](DocumentEvent event) {
        if (const char* name = EventName(event)) {
            Tell("documentEvent", val(name));
        }
    });
}

WebDocument::~WebDocument() = default;

void WebDocument::SetListener(val listener) {
    listener_ = std::move(listener);
}

void WebDocument::Tell(const char* method, val argument) const {
    if (listener_.isUndefined() || listener_.isNull() || listener_[method].isUndefined()) {
        return;
    }
    listener_.call<void>(method, argument);
}

// --- Files ------------------------------------------------------------------------------------

void WebDocument::NewDocument() {
    document_.NewDocument();
}

val WebDocument::Load(const std::string& bytes, bool openNewer) {
    std::int32_t newerVersion = 0;
    const LoadResult result = document_.Load(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
        [&](std::int32_t version) {
            newerVersion = version;
            return openNewer;
        });
    FollowNoDiagonalWires();
    static constexpr const char* kStatus[] = {"ok", "unreadable", "newer", "malformed"};
    val answer = val::object();
    answer.set("status", kStatus[static_cast<int>(result.status)]);
    answer.set("error", result.error);
    answer.set("showComment", result.showComment);
    answer.set("newerVersion", newerVersion);
    return answer;
}

val WebDocument::Save() {
    return BytesOf(document_.SaveBytes(document_.windowRect()));
}

val WebDocument::SaveWithWindow(int left, int top, int right, int bottom) {
    return BytesOf(document_.SaveBytes({left, top, right, bottom}));
}

val WebDocument::WindowRect() const {
    const kelno::WindowRect& rect = document_.windowRect();
    val answer = val::object();
    answer.set("left", rect.left);
    answer.set("top", rect.top);
    answer.set("right", rect.right);
    answer.set("bottom", rect.bottom);
    return answer;
}

// --- Comment and options ------------------------------------------------------------------------

std::string WebDocument::Comment() const {
    return Cp932ToUtf8(document_.commentText());
}

void WebDocument::SetComment(const std::string& utf8, int showOnOpen) {
    document_.SetComment(Utf8ToCp932(utf8), showOnOpen);
}

val WebDocument::Options() const {
    const DocumentOptions options = document_.options();
    val answer = val::object();
    answer.set("noDiagonalWires", options.noDiagonalWires);
    answer.set("smoothDisplay", options.smoothDisplay);
    answer.set("showCurrentFlow", options.showCurrentFlow);
    answer.set("undoBufferSize", options.undoBufferSize);
    return answer;
}

void WebDocument::SetOptions(val options) {
    DocumentOptions next = document_.options();
    next.noDiagonalWires = Flag(options, "noDiagonalWires");
    next.smoothDisplay = Flag(options, "smoothDisplay");
    next.showCurrentFlow = Flag(options, "showCurrentFlow");
    if (!options["undoBufferSize"].isUndefined()) {
        next.undoBufferSize = options["undoBufferSize"].as<int>();
    }
    document_.SetOptions(next);
    FollowNoDiagonalWires();
}

// The web document owns the option of right-angled wires: the value its file brought or the
// options last set.
void WebDocument::FollowNoDiagonalWires() {
    controller_->SetNoDiagonalWires(document_.noDiagonalWires());
}

// --- Clipboard ------------------------------------------------------------------------------------

bool WebDocument::CanCopy() const {
    return kelno::CanCopy(document_);
}

bool WebDocument::CanCut() const {
    return kelno::CanCut(document_);
}

std::string WebDocument::CopyText() {
    StringClipboard clipboard;
    return Copy(document_, clipboard) ? clipboard.ReadText().value_or("") : std::string();
}

std::string WebDocument::CutText() {
    StringClipboard clipboard;
    return Cut(document_, clipboard) ? clipboard.ReadText().value_or("") : std::string();
}

val WebDocument::Paste(const std::string& text) {
    StringClipboard clipboard(text);
    std::string error;
    const bool ok = kelno::Paste(document_, clipboard, &error);
    val answer = val::object();
    answer.set("ok", ok);
    answer.set("error", error);
    // What the clipboard holds after a paste: the same elements a step further on.
    answer.set("clipboard", clipboard.ReadText().value_or(text));
    return answer;
}

// --- The analysis -----------------------------------------------------------------------------------

val WebDocument::Report() const {
    const AnalysisReport& report = document_.lastAnalysis();
    const Circuit& circuit = document_.circuit();
    val currents = val::array();
    for (const CircuitElement& element : circuit.elements()) {
        currents.call<void>("push", element.current);
    }
    val loop = val::array();
    for (const std::size_t position : report.failingLoop) {
        loop.call<void>("push", static_cast<double>(position));
    }
    val potentials = val::array();
    if (report.outcome == AnalysisOutcome::Solved) {
        for (const std::optional<double>& potential : PointPotentials(circuit)) {
            potentials.call<void>("push", potential ? val(*potential) : val::null());
        }
    }
    val answer = val::object();
    answer.set("outcome", OutcomeName(report.outcome));
    answer.set("loops", static_cast<double>(report.loops));
    answer.set("sweeps", static_cast<double>(report.sweeps));
    answer.set("currents", currents);
    answer.set("failingLoop", loop);
    answer.set("potentials", potentials);
    answer.set("shortText", document_.shortCircuit() ? ShortStatusLine(circuit, report.outcome,
                                                                       report.failingLoop)
                                                     : std::string());
    return answer;
}

bool WebDocument::ApplyAnalysis(double generation, val report) {
    static constexpr AnalysisOutcome kOutcomes[] = {
        AnalysisOutcome::Solved, AnalysisOutcome::ZeroResistanceLoop, AnalysisOutcome::CurrentLimit,
        AnalysisOutcome::NoConvergence, AnalysisOutcome::NonFiniteValue};
    const std::string outcome = report["outcome"].as<std::string>();
    AnalysisReport analysis;
    const auto named = std::find_if(std::begin(kOutcomes), std::end(kOutcomes),
                                    [&](AnalysisOutcome o) { return outcome == OutcomeName(o); });
    if (named == std::end(kOutcomes)) {
        return false;
    }
    analysis.outcome = *named;
    analysis.loops = static_cast<std::size_t>(report["loops"].as<double>());
    analysis.sweeps = static_cast<std::size_t>(report["sweeps"].as<double>());
    for (const double position : emscripten::vecFromJSArray<double>(report["failingLoop"])) {
        analysis.failingLoop.push_back(static_cast<std::size_t>(position));
    }
    const std::vector<double> currents = emscripten::convertJSArrayToNumberVector<double>(report["currents"]);
    return document_.ApplyAnalysis(static_cast<std::uint64_t>(generation), currents,
                                   std::move(analysis));
}

val WebDocument::Geometry() const {
    const Circuit& circuit = document_.circuit();
    std::unordered_map<const CircuitPoint*, int> numbers;
    val points = val::array();
    for (const CircuitPoint& point : circuit.points()) {
        numbers.emplace(&point, static_cast<int>(numbers.size()));
        points.call<void>("push", NumberArray({double(point.x), double(point.y)}));
    }
    val elements = val::array();
    for (const CircuitElement& element : circuit.elements()) {
        val entry = val::array();
        entry.call<void>("push", numbers.at(element.end1()));
        entry.call<void>("push", numbers.at(element.end2()));
        entry.call<void>("push", KindCode(element.kind));
        entry.call<void>("push", element.selected());
        elements.call<void>("push", entry);
    }
    val answer = val::object();
    answer.set("points", points);
    answer.set("elements", elements);
    return answer;
}

// --- Editing --------------------------------------------------------------------------------------

void WebDocument::SetScale(double pixelsPerUnitX, double pixelsPerUnitY) {
    scale_ = ViewScale(pixelsPerUnitX, pixelsPerUnitY);
    controller_->SetScale(scale_);
}

void WebDocument::Nudge(int arrow) {
    static constexpr EditController::Arrow kArrows[] = {
        EditController::Arrow::Left, EditController::Arrow::Up, EditController::Arrow::Right,
        EditController::Arrow::Down};
    if (arrow >= 0 && arrow < 4) {
        controller_->Nudge(kArrows[arrow]);
    }
}

void WebDocument::AnswerDetails(bool ok, double resistance, double emf) {
    DetailsDone done = std::move(pendingDetails_);
    pendingDetails_ = nullptr;
    if (done) {
        done(ok ? std::optional<DetailsValues>(DetailsValues{resistance, emf, 0.0})
                : std::nullopt);
    }
}

val WebDocument::ReadDetails(const std::string& resistance, const std::string& emf,
                             bool negativeResistanceAllowed) {
    val answer = val::object();
    const auto refuse = [&answer](const char* box, const char* error) {
        answer.set("ok", false);
        answer.set("box", box);
        answer.set("error", error);
        return answer;
    };
    const std::optional<double> r = ParseDetailsInput(resistance);
    if (!r) {
        return refuse("resistance", messages::kNumberRequired);
    }
    if (*r < 0.0 && !negativeResistanceAllowed) {
        return refuse("resistance", messages::kResistanceNotNegative);
    }
    const std::optional<double> v = ParseDetailsInput(emf);
    if (!v) {
        return refuse("emf", messages::kNumberRequired);
    }
    answer.set("ok", true);
    answer.set("resistance", *r);
    answer.set("emf", *v);
    answer.set("error", "");
    return answer;
}

std::string WebDocument::FormatDetailsValue(double value) {
    return FormatDetailsNumber(value);
}

val WebDocument::Preview() const {
    const auto pointAt = [](const CircuitPoint* point) {
        return point == nullptr ? val::null() : NumberArray({double(point->x), double(point->y)});
    };
    static constexpr const char* kActions[] = {"move-point",     "start-wire",      "detach-link",
                                               "select-element", "deselect-element", "place-component",
                                               "select-area"};
    const std::optional<PressPreview> preview = controller_->hoverPreview();
    val answer = val::object();
    answer.set("action", preview ? val(kActions[static_cast<int>(preview->action)]) : val::null());
    answer.set("prompt", controller_->prompt());
    answer.set("point", pointAt(preview ? preview->point : nullptr));
    const CircuitElement* pulled = preview ? preview->link : nullptr;
    const val link = pulled == nullptr
                         ? val::null()
                         : NumberArray({double(pulled->end1()->x), double(pulled->end1()->y),
                                        double(pulled->end2()->x), double(pulled->end2()->y)});
    answer.set("link", link);
    answer.set("target", pointAt(controller_->releaseTarget()));
    return answer;
}

val WebDocument::Overlay() const {
    const auto corners = [](LogicalPoint a, LogicalPoint b) {
        return NumberArray({double(a.x), double(a.y), double(b.x), double(b.y)});
    };
    val answer = val::object();
    const auto wire = controller_->rubberWire();
    const auto band = controller_->rubberBand();
    answer.set("wire", wire ? corners(wire->from, wire->to) : val::null());
    answer.set("band", band ? corners(band->corner1, band->corner2) : val::null());
    return answer;
}

void WebDocument::SetStatusText(std::string_view text) {
    Tell("status", val(std::string(text)));
}

void WebDocument::CaptureMouse() {
    Tell("capture", val(true));
}

void WebDocument::ReleaseMouse() {
    Tell("capture", val(false));
}

void WebDocument::Repaint() {
    Tell("repaint");
}

void WebDocument::RequestDetails(const DetailsValues& initial, DetailsDone done) {
    pendingDetails_ = std::move(done);
    val values = val::object();
    values.set("resistance", initial.resistance);
    values.set("emf", initial.emf);
    values.set("current", initial.current);
    values.set("currentHidden", initial.currentHidden);
    values.set("negativeResistanceAllowed", initial.negativeResistanceAllowed);
    Tell("details", values);
}

// --- Drawing ----------------------------------------------------------------------------------------

val WebDocument::Draw(val options) const {
    PictureOptions picture;
    picture.showGrid = Flag(options, "grid") || controller_->showGrid();
    picture.hideCurrentFlow = Flag(options, "noFlow");
    picture.noDiagonalWires = document_.noDiagonalWires();
    picture.classroom.explainShort = Flag(options, "explain");
    picture.classroom.hideReadings = Flag(options, "predict");
    picture.classroom.showPotentials = Flag(options, "potentials");
    picture.classroom.markUnjoinedEnds = Flag(options, "unjoinedEnds");
    picture.classroom.warnLargeCurrent = Flag(options, "largeCurrent");
    const int width = options["width"].isUndefined() ? 0 : options["width"].as<int>();
    const int height = options["height"].isUndefined() ? 0 : options["height"].as<int>();
    picture.extent = {scale_.PixelsToUnitsX(width), scale_.PixelsToUnitsY(height)};

    RecordingSurface surface(scale_, Color{255, 255, 255});
    std::string status;
    DrawCircuit(document_.circuit(), surface, PictureSettings(document_, picture),
                [&](std::string_view text) { status = text; });
    // The texts cross to JavaScript as one string, split there: one conversion instead of
    // one per label, which counts for a circuit of thousands of labels drawn every frame.
    std::string joined;
    for (const std::string& text : surface.texts()) {
        joined += text;
        joined += kTextSeparator;
    }
    val texts = val::array();
    if (!joined.empty()) {
        joined.pop_back();
        texts = val(joined).call<val>("split", val(std::string(1, kTextSeparator)));
    }
    const std::vector<double>& calls = surface.calls();
    val answer = val::object();
    answer.set("calls", TypedCopy(calls));
    answer.set("texts", texts);
    answer.set("status", status);
    return answer;
}

}  // namespace kelno::web
