#pragma once

#include <cstdint>

#include "io/bmp_writer.h"

namespace kelno::testing {

// A picture whose every pixel tells where it is: red = x, green = y, blue = 200.
inline RgbImage Gradient(std::int32_t width, std::int32_t height) {
    RgbImage image{width, height, {}};
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            image.rgb.push_back(static_cast<std::uint8_t>(x));
            image.rgb.push_back(static_cast<std::uint8_t>(y));
            image.rgb.push_back(200);
        }
    }
    return image;
}

}  // namespace kelno::testing
