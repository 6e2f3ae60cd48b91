#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <vector>

#include "model/circuit_element.h"
#include "model/circuit_point.h"
#include "model/element_kind.h"

namespace kelno {

// A range over one of the circuit's lists that hands out mutable references to the
// objects but no way to insert or erase them behind the circuit's back.
template <class T, class Iterator>
class ListRange {
public:
    ListRange(Iterator first, Iterator last) : first_(first), last_(last) {}
    Iterator begin() const { return first_; }
    Iterator end() const { return last_; }

private:
    Iterator first_;
    Iterator last_;
};

// A circuit: connection points, the elements between them, and the selection.
// Points and elements keep their insertion order; pointers to them are the handles
// and stay valid until the object itself is removed.
class Circuit {
public:
    using PointList = std::list<CircuitPoint>;
    using ElementList = std::list<CircuitElement>;

    struct AddResult {
        CircuitElement* element;
        bool linked;  // false when the two points were already joined by another element
    };

    Circuit() = default;
    // Deep copy, selection and selected point included. Writes `tag` of the source's points.
    Circuit(const Circuit& other);
    Circuit& operator=(const Circuit& other);
    Circuit(Circuit&& other) noexcept { Swap(other); }
    Circuit& operator=(Circuit&& other) noexcept;
    ~Circuit() = default;

    CircuitPoint* AddPoint(std::int32_t serial, std::int32_t x, std::int32_t y);
    AddResult AddElement(const ElementRecord& record, CircuitPoint* end1, CircuitPoint* end2);

    // Removes the element; its end points stay, even with no links left. A selected
    // element also leaves the selection, so that no handle to it survives. When it held the
    // link of its two points, another element between them takes the link over.
    void RemoveElement(CircuitElement* element);
    // Removes the point and every element that refers to it, linked or not.
    void RemovePoint(CircuitPoint* point);

    void SetEnd1(CircuitElement* element, CircuitPoint* point);
    void SetEnd2(CircuitElement* element, CircuitPoint* point);
    void ReplaceEndpoint(CircuitElement* element, CircuitPoint* oldPoint, CircuitPoint* newPoint);

    ListRange<CircuitPoint, PointList::iterator> points() {
        return {points_.begin(), points_.end()};
    }
    ListRange<const CircuitPoint, PointList::const_iterator> points() const {
        return {points_.cbegin(), points_.cend()};
    }
    ListRange<CircuitElement, ElementList::iterator> elements() {
        return {elements_.begin(), elements_.end()};
    }
    ListRange<const CircuitElement, ElementList::const_iterator> elements() const {
        return {elements_.cbegin(), elements_.cend()};
    }

    std::size_t PointCount() const { return points_.size(); }
    std::size_t ElementCount() const { return elements_.size(); }
    // How many elements stand in the circuit without a link of their own.
    std::size_t UnlinkedCount() const { return unlinkedCount_; }

    // Selection: elements in the order they were selected, each at most once; or one point.
    const std::vector<CircuitElement*>& selection() const { return selection_; }
    std::size_t SelectedCount() const { return selection_.size(); }
    void Select(CircuitElement* element);
    void Deselect(CircuitElement* element);
    void ClearSelection();
    bool pointSelected() const { return selectedPoint_ != nullptr; }
    CircuitPoint* selectedPoint() const { return selectedPoint_; }
    void SelectPoint(CircuitPoint* point) { selectedPoint_ = point; }
    void ClearPointSelection() { selectedPoint_ = nullptr; }

private:
    void Swap(Circuit& other) noexcept;
    void CopyFrom(const Circuit& other);
    void Unlink(CircuitElement* element);
    void PassLinkToTwin(const CircuitElement* leaving);
    void Link(CircuitElement* element);

    PointList points_;
    ElementList elements_;
    std::vector<CircuitElement*> selection_;
    CircuitPoint* selectedPoint_ = nullptr;
    std::uint64_t nextSequence_ = 0;
    std::size_t unlinkedCount_ = 0;
};

}  // namespace kelno
