#include "picture_formats.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <array>

#include "circuit_rendering.h"
#include "io/bmp_writer.h"
#include "svg_export.h"

namespace kelno {

namespace {

using Failure = ExportResult::Failure;

std::vector<std::uint8_t> BytesOf(const QByteArray& bytes) {
    return {bytes.begin(), bytes.end()};
}

QSize SizeOf(const ExportOptions& options) {
    return {options.width, options.height};
}

// The pixel pictures: the view as it stands, at its scale, on white.
class PixelPictureFormat : public ExportFormat {
public:
    ExportResult Encode(Document& document, const ExportOptions& options,
                        std::vector<std::uint8_t>& bytes) const final {
        const QImage image = RenderViewImage(document.circuit(), options.settings, SizeOf(options),
                                             options.scale, options.status);
        if (image.isNull()) {
            return ExportResult::Failed(Failure::OutOfMemory, "画像を作るためのﾒﾓﾘが足りません。");
        }
        return EncodeImage(image, bytes);
    }

private:
    virtual ExportResult EncodeImage(const QImage& image,
                                     std::vector<std::uint8_t>& bytes) const = 0;
};

class PngPictureFormat final : public PixelPictureFormat {
public:
    std::string_view name() const override { return "PNG"; }
    std::string_view filter() const override { return "PNG 画像 (*.png)"; }
    std::string_view extension() const override { return "png"; }

private:
    ExportResult EncodeImage(const QImage& image, std::vector<std::uint8_t>& bytes) const override {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) {
            return ExportResult::Failed(Failure::CannotMake, "PNG 形式に変換できませんでした。");
        }
        bytes = BytesOf(png);
        return {};
    }
};

class BitmapPictureFormat final : public PixelPictureFormat {
public:
    std::string_view name() const override { return "ﾋﾞｯﾄﾏｯﾌﾟ"; }
    std::string_view filter() const override { return "Bitmap Files (*.bmp);;All Files (*)"; }
    std::string_view extension() const override { return "bmp"; }

private:
    ExportResult EncodeImage(const QImage& image, std::vector<std::uint8_t>& bytes) const override {
        std::string error;
        if (!EncodeBmp24(ToRgbImage(image), bytes, error)) {
            return ExportResult::Failed(Failure::CannotMake, error);
        }
        return {};
    }
};

// Every label stays text that a drawing program can edit. Drawn at the scale of a screen of
// `options.dpi` whatever the view's zoom: a viewer of the file zooms it.
class SvgPictureFormat final : public ExportFormat {
public:
    std::string_view name() const override { return "SVG"; }
    std::string_view filter() const override { return "SVG 画像 (*.svg)"; }
    std::string_view extension() const override { return "svg"; }
    ExportResult Encode(Document& document, const ExportOptions& options,
                        std::vector<std::uint8_t>& bytes) const override {
        const QByteArray svg = RenderCircuitSvg(document.circuit(), options.settings,
                                                SizeOf(options), options.status, options.dpi);
        if (svg.isEmpty()) {
            return ExportResult::Failed(Failure::CannotMake, "SVG の画像を作れませんでした。");
        }
        bytes = BytesOf(svg);
        return {};
    }
};

// The page that printing makes, on A4.
class PdfPictureFormat final : public ExportFormat {
public:
    std::string_view name() const override { return "PDF"; }
    std::string_view filter() const override { return "PDF (*.pdf)"; }
    std::string_view extension() const override { return "pdf"; }
    ExportResult Encode(Document& document, const ExportOptions& options,
                        std::vector<std::uint8_t>& bytes) const override {
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setCreator(QStringLiteral("Kelno"));
            writer.setTitle(QString::fromStdString(options.title));
            writer.setPageSize(QPageSize(QPageSize::A4));
            std::string error;
            if (!PrintCircuitPage(writer, document.circuit(), options.settings, options.status,
                                  error)) {
                return ExportResult::Failed(Failure::CannotMake, error);
            }
        }
        bytes = BytesOf(pdf);
        return {};
    }
};

}  // namespace

const ExportFormat& PngFormat() {
    static const PngPictureFormat format;
    return format;
}

const ExportFormat& BitmapFormat() {
    static const BitmapPictureFormat format;
    return format;
}

const ExportFormat& SvgFormat() {
    static const SvgPictureFormat format;
    return format;
}

const ExportFormat& PdfFormat() {
    static const PdfPictureFormat format;
    return format;
}

std::span<const ExportFormat* const> PictureFormats() {
    static const std::array<const ExportFormat*, 4> formats{&PngFormat(), &BitmapFormat(),
                                                            &SvgFormat(), &PdfFormat()};
    return formats;
}

}  // namespace kelno
