#include "model/circuit.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelno {
namespace {

// Every link of every point, checked against the elements: each linked element appears
// exactly in the links of its two ends, and nothing else is there.
void ExpectLinksConsistent(const Circuit& circuit) {
    std::size_t linkEntries = 0;
    for (const CircuitPoint& point : circuit.points()) {
        for (const auto& [neighbour, element] : point.links()) {
            ++linkEntries;
            ASSERT_TRUE(element->linked());
            const bool forward = element->end1() == &point && element->end2() == neighbour;
            const bool backward = element->end2() == &point && element->end1() == neighbour;
            EXPECT_TRUE(forward || backward);
            EXPECT_EQ(neighbour->LinkTo(&point), element);
        }
    }
    std::size_t expected = 0;
    std::size_t unlinked = 0;
    for (const CircuitElement& element : circuit.elements()) {
        if (element.linked()) {
            expected += element.end1() == element.end2() ? 1 : 2;
        } else {
            ++unlinked;
        }
    }
    EXPECT_EQ(linkEntries, expected);
    EXPECT_EQ(circuit.UnlinkedCount(), unlinked);
}

CircuitElement* Join(Circuit& c, CircuitPoint* a, CircuitPoint* b,
                     ElementKind kind = ElementKind::Wire) {
    return c.AddElement(DefaultRecord(kind), a, b).element;
}

TEST(CircuitTest, AddElementLinksBothEndsOrLeavesSecondElementUnlinked) {
    Circuit c;
    CircuitPoint* a = c.AddPoint(0, 0, 0);
    CircuitPoint* b = c.AddPoint(0, 10, 0);
    const Circuit::AddResult first = c.AddElement(DefaultRecord(ElementKind::Battery), a, b);
    const Circuit::AddResult second = c.AddElement(DefaultRecord(ElementKind::Voltmeter), b, a);
    EXPECT_TRUE(first.linked);
    EXPECT_FALSE(second.linked);
    EXPECT_EQ(a->LinkTo(b), first.element);
    EXPECT_EQ(b->LinkTo(a), first.element);
    EXPECT_EQ(c.ElementCount(), 2u);
    EXPECT_EQ(second.element->end1(), b);
    EXPECT_EQ(second.element->kind, ElementKind::Voltmeter);
    ExpectLinksConsistent(c);
}

TEST(CircuitTest, RemovingUnlinkedElementKeepsTheLinkOfItsTwin) {
    Circuit c;
    CircuitPoint* a = c.AddPoint(0, 0, 0);
    CircuitPoint* b = c.AddPoint(0, 10, 0);
    CircuitElement* holder = Join(c, a, b);
    CircuitElement* twin = Join(c, a, b);
    c.RemoveElement(twin);
    EXPECT_EQ(a->LinkTo(b), holder);
    EXPECT_EQ(b->LinkTo(a), holder);
    EXPECT_EQ(c.ElementCount(), 1u);
    ExpectLinksConsistent(c);
}

TEST(CircuitTest, LinkPassesToTheFirstTwinWhenItsHolderLeaves) {
    for (const bool removeHolder : {true, false}) {
        Circuit c;
        CircuitPoint* a = c.AddPoint(0, 0, 0);
        CircuitPoint* b = c.AddPoint(0, 10, 0);
        CircuitPoint* elsewhere = c.AddPoint(0, 20, 0);
        CircuitElement* holder = Join(c, a, b, ElementKind::Resistor);
        CircuitElement* first = Join(c, b, a, ElementKind::Battery);
        CircuitElement* second = Join(c, a, b, ElementKind::Bulb);
        if (removeHolder) {
            c.RemoveElement(holder);
        } else {
            c.SetEnd2(holder, elsewhere);
        }
        EXPECT_TRUE(first->linked());
        EXPECT_FALSE(second->linked());
        EXPECT_EQ(a->LinkTo(b), first);
        ExpectLinksConsistent(c);
    }
}

TEST(CircuitTest, RemovingLastElementLeavesPointWithDegreeZero) {
    Circuit c;
    CircuitPoint* a = c.AddPoint(0, 0, 0);
    CircuitPoint* b = c.AddPoint(0, 10, 0);
    c.RemoveElement(Join(c, a, b));
    EXPECT_EQ(c.PointCount(), 2u);
    EXPECT_EQ(a->Degree(), 0u);
    EXPECT_EQ(b->Degree(), 0u);
}

TEST(CircuitTest, RemovePointRemovesItsElementsAndKeepsFarEnds) {
    Circuit c;
    CircuitPoint* hub = c.AddPoint(0, 0, 0);
    CircuitPoint* p1 = c.AddPoint(0, 10, 0);
    CircuitPoint* p2 = c.AddPoint(0, 20, 0);
    CircuitPoint* p3 = c.AddPoint(0, 30, 0);
    Join(c, hub, p1);
    Join(c, p2, hub);
    Join(c, hub, p3);
    CircuitElement* keep = Join(c, p1, p2);
    c.RemovePoint(hub);
    EXPECT_EQ(c.PointCount(), 3u);
    ASSERT_EQ(c.ElementCount(), 1u);
    EXPECT_EQ(&*c.elements().begin(), keep);
    EXPECT_EQ(p1->Degree(), 1u);
    EXPECT_EQ(p2->Degree(), 1u);
    EXPECT_EQ(p3->Degree(), 0u);
    ExpectLinksConsistent(c);
}

TEST(CircuitTest, RemovePointAlsoRemovesUnlinkedElementsThatReferToIt) {
    Circuit c;
    CircuitPoint* a = c.AddPoint(0, 0, 0);
    CircuitPoint* b = c.AddPoint(0, 10, 0);
    CircuitPoint* other = c.AddPoint(0, 20, 0);
    Join(c, a, b);
    Join(c, b, a);  // unlinked twin
    CircuitElement* survivor = Join(c, b, other);
    c.RemovePoint(a);
    ASSERT_EQ(c.ElementCount(), 1u);
    EXPECT_EQ(&*c.elements().begin(), survivor);
    for (const CircuitElement& e : c.elements()) {
        EXPECT_NE(e.end1(), a);
        EXPECT_NE(e.end2(), a);
    }
    ExpectLinksConsistent(c);
}

TEST(CircuitTest, RemoveElementAndPointLeaveNoDanglingSelection) {
    Circuit c;
    CircuitPoint* a = c.AddPoint(0, 0, 0);
    CircuitPoint* b = c.AddPoint(0, 10, 0);
    CircuitPoint* d = c.AddPoint(0, 20, 0);
    CircuitElement* e1 = Join(c, a, b);
    CircuitElement* e2 = Join(c, b, d);
    c.Select(e1);
    c.Select(e2);
    c.Select(e1);  // already selected: skipped
    ASSERT_EQ(c.SelectedCount(), 2u);
    c.RemoveElement(e1);
    ASSERT_EQ(c.SelectedCount(), 1u);
    EXPECT_EQ(c.selection()[0], e2);
    c.SelectPoint(d);
    c.RemovePoint(d);
    EXPECT_FALSE(c.pointSelected());
    EXPECT_EQ(c.SelectedCount(), 0u);
}

struct SetEndCase {
    const char* name;
    bool moveEnd1;
    int newPoint;  // index into the points a, b, c, d
    std::vector<int> degrees;
    bool linked;
};

class SetEndTest : public ::testing::TestWithParam<SetEndCase> {};

// Points a, b, c, d; element e from a to b; element f from c to d.
TEST_P(SetEndTest, KeepsLinksSymmetric) {
    const SetEndCase& tc = GetParam();
    Circuit c;
    std::vector<CircuitPoint*> p;
    for (int i = 0; i < 4; ++i) {
        p.push_back(c.AddPoint(0, i * 100, 0));
    }
    CircuitElement* e = Join(c, p[0], p[1]);
    Join(c, p[2], p[3]);
    if (tc.moveEnd1) {
        c.SetEnd1(e, p[tc.newPoint]);
    } else {
        c.SetEnd2(e, p[tc.newPoint]);
    }
    std::vector<int> degrees;
    for (CircuitPoint* point : p) {
        degrees.push_back(static_cast<int>(point->Degree()));
    }
    EXPECT_EQ(degrees, tc.degrees);
    EXPECT_EQ(e->linked(), tc.linked);
    ExpectLinksConsistent(c);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetEndTest,
    ::testing::Values(SetEndCase{"End1ToItself", true, 0, {1, 1, 1, 1}, true},
                      SetEndCase{"End2ToItself", false, 1, {1, 1, 1, 1}, true},
                      SetEndCase{"End1ToFreshPoint", true, 2, {0, 1, 2, 1}, true},
                      SetEndCase{"End2ToFreshPoint", false, 3, {1, 0, 1, 2}, true},
                      // Moving e's end2 from b onto c makes e join a-c; c keeps f's link.
                      SetEndCase{"End2ToOtherElementsPoint", false, 2, {1, 0, 2, 1}, true}),
    [](const auto& info) { return info.param.name; });

TEST(CircuitTest, SetEndOntoPairHeldByAnotherElementLeavesItUnlinkedAndRelinksLater) {
    Circuit c;
    CircuitPoint* a = c.AddPoint(0, 0, 0);
    CircuitPoint* b = c.AddPoint(0, 10, 0);
    CircuitPoint* d = c.AddPoint(0, 20, 0);
    CircuitElement* holder = Join(c, a, b);
    CircuitElement* mover = Join(c, a, d);
    c.SetEnd2(mover, b);  // a-b is already held
    EXPECT_FALSE(mover->linked());
    EXPECT_EQ(a->LinkTo(b), holder);
    EXPECT_EQ(d->Degree(), 0u);
    ExpectLinksConsistent(c);

    c.SetEnd2(mover, d);  // free again: the link comes back, the holder is untouched
    EXPECT_TRUE(mover->linked());
    EXPECT_EQ(a->LinkTo(b), holder);
    EXPECT_EQ(a->LinkTo(d), mover);
    ExpectLinksConsistent(c);
}

TEST(CircuitTest, EarlierElementMovedOntoAHeldPairTakesTheLinkAsACopyWouldGiveIt) {
    Circuit c;
    CircuitPoint* a = c.AddPoint(0, 0, 0);
    CircuitPoint* b = c.AddPoint(0, 10, 0);
    CircuitPoint* d = c.AddPoint(0, 20, 0);
    CircuitElement* mover = Join(c, a, d);
    CircuitElement* holder = Join(c, a, b);
    c.SetEnd2(mover, b);
    EXPECT_TRUE(mover->linked());
    EXPECT_FALSE(holder->linked());
    EXPECT_EQ(b->LinkTo(a), mover);
    ExpectLinksConsistent(c);

    const Circuit copy(c);
    std::vector<bool> linked;
    for (const CircuitElement& element : copy.elements()) {
        linked.push_back(element.linked());
    }
    EXPECT_EQ(linked, (std::vector<bool>{true, false}));

    c.RemoveElement(mover);
    EXPECT_EQ(a->LinkTo(b), holder) << "the link passes back";
    ExpectLinksConsistent(c);
}

TEST(CircuitTest, ReplaceEndpointMovesWhicheverEndMatches) {
    Circuit c;
    CircuitPoint* a = c.AddPoint(0, 0, 0);
    CircuitPoint* b = c.AddPoint(0, 10, 0);
    CircuitPoint* n = c.AddPoint(0, 20, 0);
    CircuitPoint* unrelated = c.AddPoint(0, 30, 0);
    CircuitElement* e = Join(c, a, b);
    c.ReplaceEndpoint(e, b, n);
    EXPECT_EQ(e->end1(), a);
    EXPECT_EQ(e->end2(), n);
    c.ReplaceEndpoint(e, a, b);
    EXPECT_EQ(e->end1(), b);
    c.ReplaceEndpoint(e, unrelated, a);
    EXPECT_EQ(e->end1(), b);
    EXPECT_EQ(e->end2(), n);
    ExpectLinksConsistent(c);
}

TEST(CircuitTest, LinksAreOrderedByCreationNotByAddress) {
    Circuit c;
    CircuitPoint* hub = c.AddPoint(0, 0, 0);
    std::vector<CircuitPoint*> spokes;
    for (int i = 0; i < 50; ++i) {
        spokes.push_back(c.AddPoint(0, i, 0));
    }
    // Join in reverse order: the map must still list the spokes in creation order.
    for (auto it = spokes.rbegin(); it != spokes.rend(); ++it) {
        Join(c, hub, *it);
    }
    std::size_t i = 0;
    for (const auto& [neighbour, element] : hub->links()) {
        EXPECT_EQ(neighbour, spokes[i++]);
    }
}

TEST(CircuitTest, DeepCopyKeepsStructureValuesAndSelectionByPosition) {
    Circuit source;
    CircuitPoint* a = source.AddPoint(7, 0, 0);
    CircuitPoint* b = source.AddPoint(8, 400, -50);
    CircuitPoint* d = source.AddPoint(9, 800, 0);
    Join(source, a, b, ElementKind::Battery);
    CircuitElement* twin = Join(source, b, a, ElementKind::Voltmeter);
    CircuitElement* bulb = Join(source, b, d, ElementKind::Bulb);
    CircuitElement* wire = Join(source, d, a);
    bulb->current = 0.125;
    source.Select(wire);
    source.Select(twin);
    source.Select(bulb);
    source.SelectPoint(b);

    Circuit copy(source);
    ASSERT_EQ(copy.PointCount(), 3u);
    ASSERT_EQ(copy.ElementCount(), 4u);
    std::vector<const CircuitPoint*> points;
    for (const CircuitPoint& p : copy.points()) {
        points.push_back(&p);
    }
    std::vector<const CircuitElement*> elements;
    for (const CircuitElement& e : copy.elements()) {
        elements.push_back(&e);
    }
    EXPECT_EQ(points[1]->x, 400);
    EXPECT_EQ(points[1]->y, -50);
    EXPECT_EQ(points[2]->serial, 9);
    EXPECT_EQ(elements[1]->kind, ElementKind::Voltmeter);
    EXPECT_FALSE(elements[1]->linked());
    EXPECT_EQ(elements[1]->end1(), points[1]);
    EXPECT_EQ(elements[2]->current, 0.125);
    ASSERT_EQ(copy.SelectedCount(), 3u);
    EXPECT_EQ(copy.selection()[0], elements[3]);
    EXPECT_EQ(copy.selection()[1], elements[1]);
    EXPECT_EQ(copy.selection()[2], elements[2]);
    EXPECT_EQ(copy.selectedPoint(), points[1]);
    ExpectLinksConsistent(copy);

    // The copy is independent: editing it leaves the source alone.
    copy.RemovePoint(const_cast<CircuitPoint*>(points[0]));
    EXPECT_EQ(source.ElementCount(), 4u);
    ExpectLinksConsistent(source);
}

TEST(CircuitTest, MoveKeepsHandlesValid) {
    Circuit source;
    CircuitPoint* a = source.AddPoint(0, 0, 0);
    CircuitPoint* b = source.AddPoint(0, 1, 0);
    CircuitElement* e = Join(source, a, b);
    Circuit moved(std::move(source));
    EXPECT_EQ(moved.PointCount(), 2u);
    EXPECT_EQ(a->LinkTo(b), e);
    moved.RemoveElement(e);  // the handle still belongs to the moved circuit
    EXPECT_EQ(moved.ElementCount(), 0u);
    CircuitPoint* c = moved.AddPoint(0, 2, 0);
    EXPECT_LT(b->sequence(), c->sequence());  // the sequence continues
}

TEST(CircuitTest, PointsOnTheSameSpotAreNotConnected) {
    Circuit c;
    CircuitPoint* a = c.AddPoint(0, 100, -100);
    CircuitPoint* b = c.AddPoint(0, 100, -100);
    CircuitPoint* far1 = c.AddPoint(0, 0, 0);
    CircuitPoint* far2 = c.AddPoint(0, 0, 0);
    Join(c, far1, a);
    Join(c, b, far2);
    EXPECT_EQ(a->LinkTo(b), nullptr);
    EXPECT_EQ(a->Degree(), 1u);
    EXPECT_EQ(b->Degree(), 1u);
}

}  // namespace
}  // namespace kelno
