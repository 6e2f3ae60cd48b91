#include "editing/details_rules.h"

#include <gtest/gtest.h>

#include <optional>

#include "core/editing/edit_fixture.h"

namespace kelno::testing {
namespace {

struct InputCase {
    const char* name;
    const char* text;  // UTF-8, as the box holds it
    std::optional<double> value;
};

class DetailsInputTest : public ::testing::TestWithParam<InputCase> {};

TEST_P(DetailsInputTest, FullWidthFormsReadAsTheirHalfWidthOnes) {
    const InputCase& c = GetParam();
    const std::optional<double> read = ParseDetailsInput(c.text);
    ASSERT_EQ(read.has_value(), c.value.has_value()) << c.text;
    if (c.value) {
        EXPECT_EQ(*read, *c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DetailsInputTest,
    ::testing::Values(InputCase{"FullWidthDigits", "２０", 20.0},
                      InputCase{"FullWidthMinusAndPoint", "－１．５", -1.5},
                      InputCase{"MinusSign", "−3", -3.0},
                      InputCase{"FullWidthPlusAndExponent", "＋１Ｅ３", 1000.0},
                      InputCase{"IdeographicBlanksAround", "　２．５　", 2.5},
                      InputCase{"MixedWidths", "1２.5", 12.5},
                      InputCase{"FullWidthZero", "０", 0.0},
                      InputCase{"FullWidthMinusZero", "－０", std::nullopt},
                      InputCase{"UnitAfterTheNumber", "２０Ω", std::nullopt},
                      InputCase{"FullWidthLetters", "ａｂｃ", std::nullopt},
                      // A lead byte without its continuation must not be read past.
                      InputCase{"CutSequence", "2\xEF\xBC", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DetailsRulesTest, OnlyASwitchTakesAResistanceBelowZero) {
    for (const ElementKind kind :
         {ElementKind::Wire, ElementKind::WireVerticalFirst, ElementKind::Battery,
          ElementKind::Resistor, ElementKind::Ammeter, ElementKind::Voltmeter, ElementKind::Bulb}) {
        EXPECT_FALSE(DetailsResistanceAllowed(kind, -5.0)) << KindCode(kind);
        EXPECT_TRUE(DetailsResistanceAllowed(kind, 0.0)) << KindCode(kind);
    }
    EXPECT_TRUE(DetailsResistanceAllowed(ElementKind::Switch, -1.0));
}

// The editing controller keeps to the rule also when a dialog lets a value through.
TEST_F(EditTest, NegativeResistanceFromTheDialogIsTakenOnlyForASwitch) {
    CircuitElement* bulb =
        AddElement(ElementKind::Bulb, AddPoint(1000, -1000), AddPoint(1400, -1000));
    CircuitElement* toggle =
        AddElement(ElementKind::Switch, AddPoint(1000, -2000), AddPoint(1400, -2000));
    StartFromHere();
    UseTool(ElementKind::Bulb);  // a double-click opens the dialog of a switch too

    port.answer = DetailsValues{-5.0, 0.0, 0.0};
    Click({1200, -1000});
    DoubleClick({1200, -1000});
    ASSERT_EQ(port.dialogs.size(), 1u);
    EXPECT_FALSE(port.dialogs[0].negativeResistanceAllowed);
    EXPECT_EQ(bulb->resistance, 5.0);
    EXPECT_EQ(undos(), 0u);

    Click({1200, -2000});
    DoubleClick({1200, -2000});
    ASSERT_EQ(port.dialogs.size(), 2u);
    EXPECT_TRUE(port.dialogs[1].negativeResistanceAllowed);
    EXPECT_EQ(toggle->resistance, -5.0);
}

}  // namespace
}  // namespace kelno::testing
