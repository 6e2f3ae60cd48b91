#include "model/element_kind.h"

#include "model/element_catalogue.h"

namespace kelno {

ElementRecord DefaultRecord(ElementKind kind) {
    ElementRecord record;
    record.kind = kind;
    if (const ElementKindInfo* info = FindKindInfo(kind)) {
        record.resistance = info->resistance;
        record.emf = info->emf;
    }
    return record;
}

}  // namespace kelno
