#include "model/tool.h"

#include "model/element_catalogue.h"

namespace kelno {

namespace {

constexpr std::int32_t kSelectionToolCode = -1;

}  // namespace

std::optional<ElementKind> KindOfTool(Tool tool) {
    for (const ElementKindInfo& info : ElementCatalogue()) {
        if (info.tool == tool) {
            return info.kind;
        }
    }
    return std::nullopt;
}

std::optional<Tool> ToolOfKind(ElementKind kind) {
    if (const ElementKindInfo* info = FindKindInfo(kind)) {
        return info->tool;
    }
    return std::nullopt;
}

bool IsComponentTool(Tool tool) {
    const std::optional<ElementKind> kind = KindOfTool(tool);
    return kind && IsComponentKind(*kind);
}

std::int32_t ToolCode(Tool tool) {
    const std::optional<ElementKind> kind = KindOfTool(tool);
    return kind ? KindCode(*kind) : kSelectionToolCode;
}

std::optional<Tool> ToolFromCode(std::int32_t code) {
    if (code == kSelectionToolCode) {
        return Tool::Selection;
    }
    // Only the wire's own code stands for the wire tool, not every code below it.
    if (code < 0) {
        return std::nullopt;
    }
    return ToolOfKind(KindFromCode(code));
}

}  // namespace kelno
