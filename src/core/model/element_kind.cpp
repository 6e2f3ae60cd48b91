#include "model/element_kind.h"

namespace kelno {

ElementRecord DefaultRecord(ElementKind kind) {
    ElementRecord record;
    record.kind = kind;
    switch (kind) {
        case ElementKind::Battery:
            record.resistance = 0.1;
            record.emf = 1.5;
            break;
        case ElementKind::Resistor:
            record.resistance = 100.0;
            break;
        case ElementKind::Ammeter:
            record.resistance = 0.001;
            break;
        case ElementKind::Voltmeter:
            record.resistance = 100000.0;
            break;
        case ElementKind::Bulb:
            record.resistance = 5.0;
            break;
        default:
            break;
    }
    return record;
}

}  // namespace kelno
