#include "model/element_catalogue.h"

#include <array>

namespace kelno {

namespace {

constexpr std::array<ElementKindInfo, 7> kCatalogue{{
    {ElementKind::Wire, ElementRole::Wire, 0.0, 0.0, "導線", "導線", Tool::Wire},
    {ElementKind::Battery, ElementRole::Source, 0.1, 1.5, "電池", "乾電池", Tool::Battery},
    {ElementKind::Resistor, ElementRole::Load, 100.0, 0.0, "抵抗", "抵抗", Tool::Resistor},
    {ElementKind::Ammeter, ElementRole::Meter, 0.001, 0.0, "電流計", "電流計", Tool::Ammeter},
    {ElementKind::Voltmeter, ElementRole::Meter, 100000.0, 0.0, "電圧計", "電圧計",
     Tool::Voltmeter},
    {ElementKind::Bulb, ElementRole::Load, 5.0, 0.0, "電球", "電球", Tool::Bulb},
    {ElementKind::Switch, ElementRole::Switch, 0.0, 0.0, "スイッチ", "スイッチ", Tool::Switch},
}};

constexpr bool RowsInCodeOrder() {
    for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
        if (KindCode(kCatalogue[i].kind) != static_cast<std::int32_t>(i)) {
            return false;
        }
    }
    return true;
}
static_assert(RowsInCodeOrder(), "the catalogue is indexed by kind code");

}  // namespace

std::span<const ElementKindInfo> ElementCatalogue() {
    return kCatalogue;
}

const ElementKindInfo* FindKindInfo(ElementKind kind) {
    const std::int32_t code = KindCode(kind);
    if (code <= 0) {
        return &kCatalogue[0];
    }
    return code < static_cast<std::int32_t>(kCatalogue.size()) ? &kCatalogue[code] : nullptr;
}

const ElementKindInfo& DisplayedKindInfo(ElementKind kind) {
    if (const ElementKindInfo* info = FindKindInfo(kind)) {
        return *info;
    }
    // Files from older versions knew seven kinds; their names have always been read this way.
    constexpr std::int32_t kFold = 7;
    return kCatalogue[static_cast<std::size_t>(KindCode(kind) % kFold)];
}

bool IsComponentKind(ElementKind kind) {
    const ElementKindInfo* info = FindKindInfo(kind);
    return info != nullptr && info->role != ElementRole::Wire;
}

}  // namespace kelno
