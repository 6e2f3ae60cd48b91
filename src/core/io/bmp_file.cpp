// Writing a bitmap into a file, on a desktop.
#include "io/bmp_writer.h"
#include "io/file_bytes.h"

namespace kelno {

bool WriteBmp24(const std::string& path, const RgbImage& image, std::string& error) {
    std::vector<std::uint8_t> bytes;
    return EncodeBmp24(image, bytes, error) && WriteFileAtomically(path, bytes, error);
}

}  // namespace kelno
