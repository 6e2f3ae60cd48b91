#include "model/tool.h"

#include <gtest/gtest.h>

#include <set>

#include "model/element_catalogue.h"

namespace kelno {
namespace {

// Every tool goes to its number and back, and every tool that places something goes to its
// kind and back: no two tools share a number or a kind.
TEST(Tool, NumbersAndKindsLeadBackToTheTool) {
    std::set<std::int32_t> codes;
    for (const Tool tool : kAllTools) {
        const std::int32_t code = ToolCode(tool);
        EXPECT_EQ(ToolFromCode(code), tool) << code;
        codes.insert(code);
        if (const std::optional<ElementKind> kind = KindOfTool(tool)) {
            EXPECT_EQ(ToolOfKind(*kind), tool) << code;
            EXPECT_EQ(KindCode(*kind), code);
        }
    }
    EXPECT_EQ(codes.size(), kAllTools.size());
}

// The web page knows the tools by these numbers.
TEST(Tool, NumbersAreTheSelectionsAndTheKindCodes) {
    EXPECT_EQ(ToolCode(Tool::Selection), -1);
    EXPECT_EQ(ToolCode(Tool::Wire), 0);
    EXPECT_EQ(ToolCode(Tool::Battery), 1);
    EXPECT_EQ(ToolCode(Tool::Switch), 6);
    for (const std::int32_t code : {-2, -100, 7, 1000}) {
        EXPECT_FALSE(ToolFromCode(code).has_value()) << code;
    }
}

// Each kind of the catalogue has a tool; only the wire tool and the selection tool place no
// component.
TEST(Tool, EveryCatalogueKindHasItsToolAndOnlyComponentToolsPlaceComponents) {
    for (const ElementKindInfo& info : ElementCatalogue()) {
        EXPECT_EQ(KindOfTool(info.tool), info.kind) << info.fullName;
    }
    EXPECT_EQ(ToolOfKind(ElementKind::WireVerticalFirst), Tool::Wire);
    EXPECT_FALSE(ToolOfKind(KindFromCode(7)).has_value());
    EXPECT_FALSE(KindOfTool(Tool::Selection).has_value());
    for (const Tool tool : kAllTools) {
        EXPECT_EQ(IsComponentTool(tool), tool != Tool::Selection && tool != Tool::Wire)
            << ToolCode(tool);
    }
}

}  // namespace
}  // namespace kelno
