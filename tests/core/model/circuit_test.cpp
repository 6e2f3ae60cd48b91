#include "model/circuit.h"

#include <gtest/gtest.h>

namespace kelno {
namespace {

TEST(CircuitTest, Placeholder) {
    Circuit circuit;
    EXPECT_EQ(circuit.PointCount(), 0u);
}

}  // namespace
}  // namespace kelno
