#include "gui/window_test_support.h"

#include <QFile>

namespace kelno::testing {

QString WriteCircuitFile(const QDir& folder, const QString& name, const std::string& comment,
                         bool showCommentOnOpen, std::int32_t version) {
    Document document;
    const LoadResult loaded =
        document.LoadFile(ExamplePath("bulb-and-battery.kel").toStdString(), {});
    EXPECT_EQ(loaded.status, LoadStatus::Ok);
    document.SetComment(comment, showCommentOnOpen ? 1 : 0);
    std::vector<std::uint8_t> bytes = document.SaveBytes(WindowRect{50, 60, 690, 540});
    for (int i = 0; i < 4; ++i) {  // the version leads the file, little-endian
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(version >> (8 * i));
    }
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

}  // namespace kelno::testing
