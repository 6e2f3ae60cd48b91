#include "render/short_explanation.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/circuit_builder.h"

namespace kelno {
namespace {

using K = ElementKind;
using R = AnalysisOutcome;

TEST(ExplainShort, NamesTheKindsOfTheLoopAndWhyItFailed) {
    struct Case {
        R reason;
        std::vector<K> kinds;
        const char* sentence;
    };
    const Case cases[] = {
        {R::ZeroResistanceLoop,
         {K::Battery, K::Wire, K::WireVerticalFirst},
         "電池が導線だけで自分自身につながっているため、電流が限りなく大きくなります。"},
        {R::CurrentLimit,
         {K::Wire, K::Battery, K::Wire},
         "電池が導線だけで自分自身につながっているため、電流が 1000000 A を超えます。"},
        {R::ZeroResistanceLoop,
         {K::Battery, K::Switch, K::Wire},
         "電池が導線とスイッチだけで自分自身につながっているため、電流が限りなく大きくなります。"},
        {R::CurrentLimit,
         {K::Battery, K::Switch},
         "電池がスイッチだけで自分自身につながっているため、電流が 1000000 A を超えます。"},
        {R::ZeroResistanceLoop,
         {K::Battery},
         "電池の両端が同じ点につながっているため、電流が限りなく大きくなります。"},
        {R::ZeroResistanceLoop,
         {K::Battery, K::Wire, K::Battery, K::Wire},
         "電池どうしが導線だけでつながっているため、電流が限りなく大きくなります。"},
        {R::ZeroResistanceLoop,
         {K::Battery, K::Battery},
         "電池どうしが直接つながっているため、電流が限りなく大きくなります。"},
        // Components in the loop are named, batteries first and wires last.
        {R::CurrentLimit,
         {K::Wire, K::Ammeter, K::Battery, K::Wire},
         "電池、電流計、導線の輪の抵抗が小さすぎるため、電流が 1000000 A を超えます。"},
        {R::ZeroResistanceLoop,
         {K::Resistor, K::Battery, K::Resistor},
         "電池、抵抗の輪に抵抗がないため、電流が限りなく大きくなります。"},
        // A wire given an emf by a foreign file.
        {R::ZeroResistanceLoop,
         {K::Wire, K::Wire},
         "導線の輪に起電力があるため、電流が限りなく大きくなります。"},
        {R::NoConvergence,
         {K::Resistor, K::Bulb, K::Battery},
         "電池、抵抗、電球の輪で電流の計算が収束しません。負の抵抗はありませんか。"},
        {R::NonFiniteValue, {K::Voltmeter}, "電圧計に有限の数でない値があります。"},
        // A kind code beyond the switch is named by its code modulo 7, as everywhere.
        {R::NonFiniteValue, {KindFromCode(9)}, "抵抗に有限の数でない値があります。"},
        {R::ZeroResistanceLoop, {}, "回路に有限の解がありません。"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExplainShort(c.reason, c.kinds), c.sentence);
    }
}

TEST(ShortStatusLine, LooksTheLoopUpByPosition) {
    Circuit circuit;
    testing::CircuitBuilder b(circuit);
    b.Add(ElementKind::Bulb, 0, 1);
    b.Add(ElementKind::Battery, 2, 3, 0.0, 1.5);
    b.Add(ElementKind::Wire, 3, 2);
    const std::vector<std::size_t> loop{1, 2};
    EXPECT_EQ(
        ShortStatusLine(circuit, R::ZeroResistanceLoop, loop),
        "Short  電池が導線だけで自分自身につながっているため、電流が限りなく大きくなります。");
    EXPECT_EQ(ShortStatusLine(circuit, R::Solved, loop), "Short");
    // Positions beyond the list are left out rather than read.
    const std::vector<std::size_t> stale{1, 7};
    EXPECT_EQ(ElementsAt(circuit, stale).size(), 1u);
    EXPECT_EQ(ElementsAt(circuit, stale)[0]->kind, ElementKind::Battery);
}

}  // namespace
}  // namespace kelno
