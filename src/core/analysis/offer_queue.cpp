#include "analysis/offer_queue.h"

namespace kelno {

namespace {

constexpr std::size_t kArity = 4;

}  // namespace

void OfferQueue::Clear() {
    heap_.clear();
    if (++round_ == 0) {  // the counter wrapped: forget every earlier search
        for (Best& best : best_) {
            best.round = 0;
        }
        round_ = 1;
    }
}

bool OfferQueue::Improve(std::int32_t point, const Offer& offer) {
    Best& best = best_[point];
    const Entry entry = MakeEntry(LengthKey(offer.length), offer.link, point);
    if (best.round == round_ && !(entry < MakeEntry(best.key, best.link, point))) {
        return false;
    }
    best = {KeyOf(entry), offer.link, round_};
    Push(entry);
    return true;
}

// An entry is the point's present offer when its link is the one the point keeps: a point
// is offered each link at most once, and its taken offer has left the heap.
bool OfferQueue::PopBest(std::int32_t& point, Offer& offer) {
    while (!heap_.empty()) {
        const Entry top = PopTop();
        Best& best = best_[PointOf(top)];
        if (LinkOf(top) == best.link) {
            point = PointOf(top);
            offer = {LengthOfKey(KeyOf(top)), LinkOf(top)};
            best.link = -1;  // taken: an older offer with this link cannot remain
            return true;
        }
    }
    return false;
}

void OfferQueue::Push(const Entry& entry) {
    std::size_t at = heap_.size();
    heap_.push_back(entry);
    while (at > 0) {
        const std::size_t parent = (at - 1) / kArity;
        if (!(entry < heap_[parent])) {
            break;
        }
        heap_[at] = heap_[parent];
        at = parent;
    }
    heap_[at] = entry;
}

// Takes out the first entry and lets the last one sink from the top past every entry that
// comes before it.
OfferQueue::Entry OfferQueue::PopTop() {
    const Entry top = heap_.front();
    const Entry last = heap_.back();
    heap_.pop_back();
    const std::size_t size = heap_.size();
    if (size == 0) {
        return top;
    }
    std::size_t at = 0;
    while (true) {
        const std::size_t first = kArity * at + 1;
        if (first >= size) {
            break;
        }
        const std::size_t end = first + kArity < size ? first + kArity : size;
        std::size_t child = first;
        for (std::size_t c = first + 1; c < end; ++c) {
            child = heap_[c] < heap_[child] ? c : child;
        }
        if (!(heap_[child] < last)) {
            break;
        }
        heap_[at] = heap_[child];
        at = child;
    }
    heap_[at] = last;
    return top;
}

}  // namespace kelno
