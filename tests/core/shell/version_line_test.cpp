#include "shell/version_line.h"

#include <gtest/gtest.h>

namespace kelno {
namespace {

TEST(VersionLine, ShowsTheFormatVersionInHundredths) {
    EXPECT_EQ(VersionLine(106), "Kelno Version 1.06");
    EXPECT_EQ(VersionLine(110), "Kelno Version 1.10");
    EXPECT_EQ(VersionLine(200), "Kelno Version 2.00");
}

}  // namespace
}  // namespace kelno
