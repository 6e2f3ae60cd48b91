#include "render/element_symbol_table.h"

#include <gtest/gtest.h>

#include "model/element_catalogue.h"

namespace kelno {
namespace {

// A kind added to the catalogue without a picture would be drawn as a bare line, and a
// picture without a catalogue row could never be placed.
TEST(ElementSymbolTable, EveryComponentOfTheCatalogueHasOneSymbolAndNoOtherKindHasOne) {
    std::size_t components = 0;
    for (const ElementKindInfo& info : ElementCatalogue()) {
        const ElementSymbol* symbol = FindElementSymbol(info.kind);
        if (info.role == ElementRole::Wire) {
            EXPECT_EQ(symbol, nullptr) << info.name;
            continue;
        }
        ++components;
        ASSERT_NE(symbol, nullptr) << info.name;
        EXPECT_NE(symbol->draw, nullptr) << info.name;
        EXPECT_NE(symbol->area, nullptr) << info.name;
    }
    EXPECT_EQ(ElementSymbols().size(), components);
    for (const ElementSymbol& symbol : ElementSymbols()) {
        EXPECT_TRUE(IsComponentKind(symbol.kind)) << KindCode(symbol.kind);
    }
}

}  // namespace
}  // namespace kelno
