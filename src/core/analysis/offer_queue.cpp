#include "analysis/offer_queue.h"

namespace kelno {

void OfferQueue::Clear() {
    for (const Entry& entry : heap_) {
        place_[entry.point] = kAbsent;
    }
    heap_.clear();
}

bool OfferQueue::Improve(std::int32_t point, const Offer& offer) {
    const std::uint32_t at = place_[point];
    if (at == kAbsent) {
        heap_.push_back({offer, point});
        SiftUp(static_cast<std::uint32_t>(heap_.size() - 1), {offer, point});
        return true;
    }
    if (!Precedes(offer, heap_[at].offer)) {
        return false;
    }
    SiftUp(at, {offer, point});
    return true;
}

std::int32_t OfferQueue::PopBest(Offer& offer) {
    const Entry best = heap_.front();
    place_[best.point] = kAbsent;
    const Entry last = heap_.back();
    heap_.pop_back();
    if (!heap_.empty()) {
        SiftDown(0, last);
    }
    offer = best.offer;
    return best.point;
}

void OfferQueue::Place(std::uint32_t at, const Entry& entry) {
    heap_[at] = entry;
    place_[entry.point] = at;
}

// Moves the entry from `at` towards the top past every entry it precedes.
void OfferQueue::SiftUp(std::uint32_t at, Entry entry) {
    while (at > 0) {
        const std::uint32_t parent = (at - 1) / 2;
        if (!Precedes(entry.offer, heap_[parent].offer)) {
            break;
        }
        Place(at, heap_[parent]);
        at = parent;
    }
    Place(at, entry);
}

// Moves the entry from `at` towards the bottom past every entry that precedes it.
void OfferQueue::SiftDown(std::uint32_t at, Entry entry) {
    const auto size = static_cast<std::uint32_t>(heap_.size());
    while (true) {
        std::uint32_t child = 2 * at + 1;
        if (child >= size) {
            break;
        }
        if (child + 1 < size && Precedes(heap_[child + 1].offer, heap_[child].offer)) {
            ++child;
        }
        if (!Precedes(heap_[child].offer, entry.offer)) {
            break;
        }
        Place(at, heap_[child]);
        at = child;
    }
    Place(at, entry);
}

}  // namespace kelno
