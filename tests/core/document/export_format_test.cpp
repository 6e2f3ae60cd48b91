#include "document/export_format.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/circuit_builder.h"
#include "document/clipboard_commands.h"
#include "document/string_clipboard.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;

struct PathCase {
    const char* path;
    const char* extension;  // nullptr: no format of the document
};

TEST(DocumentFormats, AreFoundByTheirExtensionInAnyCase) {
    for (const PathCase c :
         {PathCase{"a.kel", "kel"}, PathCase{"dir.x/B.TXT", "txt"}, PathCase{"net.Cir", "cir"},
          PathCase{".kel", "kel"}, PathCase{"a.kelx", nullptr}, PathCase{"akel", nullptr},
          PathCase{"a.png", nullptr}, PathCase{"", nullptr}}) {
        const ExportFormat* format = FormatOfPath(DocumentFormats(), c.path);
        if (c.extension == nullptr) {
            EXPECT_EQ(format, nullptr) << c.path;
        } else {
            ASSERT_NE(format, nullptr) << c.path;
            EXPECT_EQ(format->extension(), c.extension) << c.path;
        }
    }
}

void BuildRingWithLonePoint(Document& document) {
    document.Checkpoint();
    CircuitBuilder b(document.circuit());
    b.Add(ElementKind::Battery, 0, 1);
    b.Add(ElementKind::Bulb, 1, 2);
    b.Add(ElementKind::Wire, 2, 0);
    document.circuit().AddPoint(9, 3000, -3000);
    document.CircuitChanged();
}

TEST(ClipboardTextFormat, PastesBackIntoAnEmptyDocumentAsTheSameCircuit) {
    Document document;
    BuildRingWithLonePoint(document);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ClipboardTextFormat().Encode(document, {}, bytes).ok());

    StringClipboard clipboard(std::string(bytes.begin(), bytes.end()));
    Document pasted;
    ASSERT_TRUE(Paste(pasted, clipboard));
    EXPECT_EQ(pasted.circuit().PointCount(), document.circuit().PointCount());
    EXPECT_EQ(pasted.circuit().ElementCount(), document.circuit().ElementCount());
}

TEST(ClipboardTextFormat, RefusesValuesThatAreNotFinite) {
    Document document;
    BuildRingWithLonePoint(document);
    document.circuit().elements().begin()->resistance = std::numeric_limits<double>::infinity();
    std::vector<std::uint8_t> bytes{1, 2, 3};
    const ExportResult result = ClipboardTextFormat().Encode(document, {}, bytes);
    EXPECT_EQ(result.failure, ExportResult::Failure::CannotMake);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(KelFormat, KeepsTheWindowOfTheOptions) {
    Document document;
    BuildRingWithLonePoint(document);
    ExportOptions options;
    options.window = {1, 2, 301, 402};
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(KelFormat().Encode(document, options, bytes).ok());
    Document loaded;
    ASSERT_EQ(loaded.Load(bytes, nullptr).status, LoadStatus::Ok);
    EXPECT_EQ(loaded.windowRect(), options.window);
    EXPECT_EQ(loaded.circuit().ElementCount(), 3u);
}

}  // namespace
}  // namespace kelno
