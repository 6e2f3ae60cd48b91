#include "model/circuit.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace kelno {

Circuit::Circuit(const Circuit& other) {
    CopyFrom(other);
}

Circuit& Circuit::operator=(const Circuit& other) {
    if (this != &other) {
        Circuit copy(other);
        Swap(copy);
    }
    return *this;
}

Circuit& Circuit::operator=(Circuit&& other) noexcept {
    if (this != &other) {
        Circuit emptied;
        Swap(emptied);  // this is now empty; the old contents die with `emptied`
        Swap(other);
    }
    return *this;
}

void Circuit::Swap(Circuit& other) noexcept {
    // std::list::swap keeps every node, so handles and the nodes' own iterators stay valid.
    points_.swap(other.points_);
    elements_.swap(other.elements_);
    selection_.swap(other.selection_);
    std::swap(selectedPoint_, other.selectedPoint_);
    std::swap(nextSequence_, other.nextSequence_);
    std::swap(unlinkedCount_, other.unlinkedCount_);
}

// Rebuilds the other circuit point by point and element by element, so the copy's links
// come out exactly as AddElement makes them, in the same order.
void Circuit::CopyFrom(const Circuit& other) {
    std::vector<CircuitPoint*> newPoints;
    newPoints.reserve(other.points_.size());
    std::int32_t position = 0;
    for (const CircuitPoint& point : other.points_) {
        point.tag = position++;
        newPoints.push_back(AddPoint(point.serial, point.x, point.y));
    }

    std::vector<CircuitElement*> newElements;
    newElements.reserve(other.elements_.size());
    for (const CircuitElement& element : other.elements_) {
        newElements.push_back(AddElement(element.Record(), newPoints[element.end1_->tag],
                                         newPoints[element.end2_->tag])
                                  .element);
    }

    if (other.selectedPoint_ != nullptr) {
        selectedPoint_ = newPoints[other.selectedPoint_->tag];
    }
    if (!other.selection_.empty()) {
        std::unordered_map<const CircuitElement*, std::size_t> positionOf;
        std::size_t index = 0;
        for (const CircuitElement& element : other.elements_) {
            positionOf.emplace(&element, index++);
        }
        for (const CircuitElement* selected : other.selection_) {
            Select(newElements[positionOf.at(selected)]);
        }
    }
}

CircuitPoint* Circuit::AddPoint(std::int32_t serial, std::int32_t x, std::int32_t y) {
    CircuitPoint& point = points_.emplace_back();
    point.serial = serial;
    point.x = x;
    point.y = y;
    point.sequence_ = nextSequence_++;
    point.self_ = std::prev(points_.end());
    return &point;
}

Circuit::AddResult Circuit::AddElement(const ElementRecord& record, CircuitPoint* end1,
                                       CircuitPoint* end2) {
    CircuitElement& element = elements_.emplace_back();
    element.kind = record.kind;
    element.serial = record.serial;
    element.resistance = record.resistance;
    element.current = record.current;
    element.emf = record.emf;
    element.end1_ = end1;
    element.end2_ = end2;
    element.sequence_ = nextSequence_++;
    element.self_ = std::prev(elements_.end());
    Link(&element);
    return {&element, element.linked_};
}

// Gives the element the link between its two points. Of several elements between the same
// two points the first in list order holds the link, just as when the circuit is read back
// from its file (which adds them in that order), so that the live circuit and its saved copy
// are analysed alike. An element joining an already joined pair is usually the later one.
void Circuit::Link(CircuitElement* element) {
    CircuitPoint* a = element->end1_;
    CircuitPoint* b = element->end2_;
    const auto [entry, inserted] = b->links_.emplace(a, element);
    if (inserted) {
        a->links_.emplace(b, element);
        element->linked_ = true;
        return;
    }
    ++unlinkedCount_;
    CircuitElement* holder = entry->second;
    if (holder->sequence_ < element->sequence_) {
        element->linked_ = false;
        return;
    }
    entry->second = element;
    a->links_[b] = element;
    holder->linked_ = false;
    element->linked_ = true;
}

// Takes the element out of the links. An element without a link of its own leaves the
// links of the element that holds its pair of points alone.
void Circuit::Unlink(CircuitElement* element) {
    if (!element->linked_) {
        --unlinkedCount_;
        return;
    }
    element->end1_->links_.erase(element->end2_);
    element->end2_->links_.erase(element->end1_);
    element->linked_ = false;
    if (unlinkedCount_ > 0) {
        PassLinkToTwin(element);
    }
}

// When the element holding the link of two points leaves them, the first element in list
// order that joins the same two points without a link takes the link over, just as it would
// after the circuit has been saved and loaded again. Otherwise the two points would stay
// joined by elements that no search can pass through.
void Circuit::PassLinkToTwin(const CircuitElement* leaving) {
    const CircuitPoint* a = leaving->end1_;
    const CircuitPoint* b = leaving->end2_;
    for (CircuitElement& element : elements_) {
        if (&element == leaving || element.linked_) {
            continue;
        }
        if ((element.end1_ == a && element.end2_ == b) ||
            (element.end1_ == b && element.end2_ == a)) {
            --unlinkedCount_;
            Link(&element);
            return;
        }
    }
}

void Circuit::RemoveElement(CircuitElement* element) {
    Unlink(element);
    if (element->selected_) {
        Deselect(element);
    }
    elements_.erase(element->self_);
}

void Circuit::RemovePoint(CircuitPoint* point) {
    while (!point->links_.empty()) {
        RemoveElement(point->links_.begin()->second);
    }
    if (unlinkedCount_ > 0) {
        // Elements without links are not found through the point's links.
        for (auto it = elements_.begin(); it != elements_.end();) {
            CircuitElement& element = *it++;
            if (element.end1_ == point || element.end2_ == point) {
                RemoveElement(&element);
            }
        }
    }
    if (selectedPoint_ == point) {
        selectedPoint_ = nullptr;
    }
    points_.erase(point->self_);
}

void Circuit::SetEnd1(CircuitElement* element, CircuitPoint* point) {
    if (element->end1_ == point) {
        return;
    }
    Unlink(element);
    element->end1_ = point;
    Link(element);
}

void Circuit::SetEnd2(CircuitElement* element, CircuitPoint* point) {
    if (element->end2_ == point) {
        return;
    }
    Unlink(element);
    element->end2_ = point;
    Link(element);
}

void Circuit::ReplaceEndpoint(CircuitElement* element, CircuitPoint* oldPoint,
                              CircuitPoint* newPoint) {
    if (element->end1_ == oldPoint) {
        SetEnd1(element, newPoint);
    } else if (element->end2_ == oldPoint) {
        SetEnd2(element, newPoint);
    }
}

void Circuit::Select(CircuitElement* element) {
    if (!element->selected_) {
        element->selected_ = true;
        selection_.push_back(element);
    }
}

void Circuit::Deselect(CircuitElement* element) {
    if (element->selected_) {
        element->selected_ = false;
        selection_.erase(std::find(selection_.begin(), selection_.end(), element));
    }
}

void Circuit::ClearSelection() {
    for (CircuitElement* element : selection_) {
        element->selected_ = false;
    }
    selection_.clear();
}

}  // namespace kelno
