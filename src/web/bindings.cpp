// The names JavaScript sees: kelno.d.ts beside this file declares the same for TypeScript.
#include <emscripten/bind.h>

#include "document/document.h"
#include "text/number_text.h"
#include "web_document.h"

using kelno::web::WebDocument;

EMSCRIPTEN_BINDINGS(kelno) {
    emscripten::class_<WebDocument>("KelnoDocument")
        .constructor<>()
        .function("setListener", &WebDocument::SetListener)
        .function("newDocument", &WebDocument::NewDocument)
        .function("load", &WebDocument::Load)
        .function("save", &WebDocument::Save)
        .function("saveWithWindow", &WebDocument::SaveWithWindow)
        .function("markSaved", &WebDocument::MarkSaved)
        .function("modified", &WebDocument::Modified)
        .function("windowRect", &WebDocument::WindowRect)
        .function("undo", &WebDocument::Undo)
        .function("redo", &WebDocument::Redo)
        .function("canUndo", &WebDocument::CanUndo)
        .function("canRedo", &WebDocument::CanRedo)
        .function("historyState", &WebDocument::HistoryState)
        .function("currentTool", &WebDocument::CurrentTool)
        .function("chooseTool", &WebDocument::ChooseTool)
        .function("comment", &WebDocument::Comment)
        .function("showCommentOnOpen", &WebDocument::ShowCommentOnOpen)
        .function("setComment", &WebDocument::SetComment)
        .function("options", &WebDocument::Options)
        .function("setOptions", &WebDocument::SetOptions)
        .function("canCopy", &WebDocument::CanCopy)
        .function("canCut", &WebDocument::CanCut)
        .function("copyText", &WebDocument::CopyText)
        .function("cutText", &WebDocument::CutText)
        .function("paste", &WebDocument::Paste)
        .function("report", &WebDocument::Report)
        .function("geometry", &WebDocument::Geometry)
        .function("elementCount", &WebDocument::ElementCount)
        .function("setAnalysisDeferred", &WebDocument::SetAnalysisDeferred)
        .function("analysisPending", &WebDocument::AnalysisPending)
        .function("analysisGeneration", &WebDocument::AnalysisGeneration)
        .function("applyAnalysis", &WebDocument::ApplyAnalysis)
        .function("setScale", &WebDocument::SetScale)
        .function("press", &WebDocument::Press)
        .function("move", &WebDocument::Move)
        .function("release", &WebDocument::Release)
        .function("doubleClick", &WebDocument::DoubleClick)
        .function("captureLost", &WebDocument::CaptureLost)
        .function("capturing", &WebDocument::Capturing)
        .function("nudge", &WebDocument::Nudge)
        .function("selectAll", &WebDocument::SelectAll)
        .function("toggleGrid", &WebDocument::ToggleGrid)
        .function("showGrid", &WebDocument::ShowGrid)
        .function("setReadingsHidden", &WebDocument::SetReadingsHidden)
        .function("answerDetails", &WebDocument::AnswerDetails)
        .function("overlay", &WebDocument::Overlay)
        .function("hover", &WebDocument::Hover)
        .function("hoverLeft", &WebDocument::HoverLeft)
        .function("preview", &WebDocument::Preview)
        .function("setLargeCurrentWarning", &WebDocument::SetLargeCurrentWarning)
        .class_function("readDetails", &WebDocument::ReadDetails)
        .class_function("formatDetailsValue", &WebDocument::FormatDetailsValue)
        .function("draw", &WebDocument::Draw);
    emscripten::function("formatVersion", emscripten::optional_override([] {
                             return kelno::FormatGeneral(kelno::kFormatVersion * 0.01);
                         }));
}
