#pragma once

#include <span>

#include "document/export_format.h"

namespace kelno {

// The pictures of a document, drawn with Qt's painter: PNG, BMP (24 bits), SVG and PDF, in
// the order the tools list them. The pixel pictures and SVG draw `options.settings` over
// `options.width` by `options.height` pixels on white; PDF prints the one page at true size
// on A4. PNG and PDF need a running QGuiApplication.
std::span<const ExportFormat* const> PictureFormats();
const ExportFormat& PngFormat();
const ExportFormat& BitmapFormat();
const ExportFormat& SvgFormat();
const ExportFormat& PdfFormat();

}  // namespace kelno
