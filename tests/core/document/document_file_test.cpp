// The document's files on a desktop: saving, loading back and the failures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "core/circuit_builder.h"
#include "document/document.h"
#include "document/export_format.h"
#include "io/file_bytes.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "kelno_document_test_" + std::to_string(getpid()) + "_" + name;
}

class DocumentTest : public ::testing::Test {
protected:
    Document doc;
};

TEST_F(DocumentTest, FailedSaveKeepsTheWorkMarkedAndSaysWhy) {
    doc.Checkpoint();
    doc.circuit().AddPoint(0, 10, -10);
    doc.GeometryChanged();
    std::string error;
    EXPECT_FALSE(doc.SaveFile(TempPath("no-such-directory/x.kel"), kNewDocumentWindow, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(doc.modified());
}

TEST_F(DocumentTest, SavedFileLoadsBackIntoTheSameDocument) {
    const std::string path = TempPath("round.kel");
    doc.Checkpoint();
    CircuitBuilder b(doc.circuit());
    b.Add(ElementKind::Battery, 0, 1);
    b.Add(ElementKind::Wire, 1, 2);
    b.Add(ElementKind::Bulb, 2, 3);
    b.Add(ElementKind::Wire, 3, 0);
    doc.CircuitChanged();
    doc.SetComment("\x83\x52\x83\x81\x83\x93\x83\x67", 1);
    doc.SetOptions({true, true, false, 7});
    std::string error;
    ASSERT_TRUE(doc.SaveFile(path, {1, 2, 3, 4}, error)) << error;
    const std::vector<std::uint8_t> saved = doc.SaveBytes({1, 2, 3, 4});

    Document other;
    ASSERT_FALSE(other.noDiagonalWires());
    ASSERT_EQ(other.LoadFile(path, nullptr).status, LoadStatus::Ok);
    EXPECT_EQ(other.SaveBytes(other.windowRect()), saved);
    EXPECT_TRUE(other.noDiagonalWires());
    std::remove(path.c_str());

    const LoadResult missing = other.LoadFile(path, nullptr);
    EXPECT_EQ(missing.status, LoadStatus::Unreadable);
    EXPECT_FALSE(missing.error.empty());
    EXPECT_EQ(other.circuit().ElementCount(), 4u);
}

// A failure to write names the file and leaves none behind; one to make the file leaves the
// old one alone.
TEST_F(DocumentTest, ExportThatFailsSaysWhyAndLeavesNoFile) {
    const std::string missing = TempPath("no-such-directory/x.cir");
    const ExportResult unwritten = SpiceNetlistFormat().Write(doc, {}, missing);
    EXPECT_EQ(unwritten.failure, ExportResult::Failure::CannotWrite);
    EXPECT_NE(unwritten.error.find(missing), std::string::npos) << unwritten.error;

    const std::string kept = TempPath("kept.txt");
    ASSERT_TRUE(ClipboardTextFormat().Write(doc, {}, kept).ok());
    std::vector<std::uint8_t> before;
    std::string error;
    ASSERT_TRUE(ReadFileBytes(kept, before, error)) << error;
    doc.Checkpoint();
    CircuitBuilder(doc.circuit())
        .Add(ElementKind::Resistor, 0, 1, std::numeric_limits<double>::infinity());
    doc.CircuitChanged();
    EXPECT_EQ(ClipboardTextFormat().Write(doc, {}, kept).failure,
              ExportResult::Failure::CannotMake);
    std::vector<std::uint8_t> after;
    ASSERT_TRUE(ReadFileBytes(kept, after, error)) << error;
    EXPECT_EQ(after, before);
    std::remove(kept.c_str());
}

}  // namespace
}  // namespace kelno
