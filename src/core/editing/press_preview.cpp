#include "editing/press_preview.h"

#include "render/format_value.h"

namespace kelno {

std::string PressPrompt(PressAction action, Tool tool) {
    switch (action) {
        case PressAction::MovePoint:
            return "この点を動かします";
        case PressAction::StartWire:
            return "この点から導線を引きます";
        case PressAction::DetachLink:
            return "引っぱると、太く示したつながりをこの点から外します";
        case PressAction::SelectElement:
            return "この素子を選択します";
        case PressAction::DeselectElement:
            return "この素子を選択から外します";
        case PressAction::PlaceComponent:
            return "ここに" +
                   std::string(ElementDisplayName(KindOfTool(tool).value_or(ElementKind::Wire))) +
                   "を置きます";
        case PressAction::SelectArea:
            return "ドラッグした範囲の素子を選択します";
    }
    return {};
}

std::string WireReleasePrompt(bool joins) {
    return joins ? "ここで離すと、丸で囲んだ点へ導線をつなぎます"
                 : "ここで離しても導線はつながりません (点の近くで離してください)";
}

std::string PointReleasePrompt(bool joins) {
    return joins ? "ここで離すと、丸で囲んだ点とつなぎます" : "ここで離すと点がここに移ります";
}

}  // namespace kelno
