#include "svg_export.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "gui/picture_support.h"

namespace kelno {
namespace {

struct ParsedSvg {
    QString width;
    QString viewBox;
    QStringList texts;
    bool wellFormed = false;
};

ParsedSvg Parse(const QByteArray& svg) {
    ParsedSvg parsed;
    QXmlStreamReader reader(svg);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (reader.name() == QStringLiteral("svg")) {
            parsed.width = reader.attributes().value("width").toString();
            parsed.viewBox = reader.attributes().value("viewBox").toString();
        } else if (reader.name() == QStringLiteral("text")) {
            parsed.texts
                << reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        }
    }
    parsed.wellFormed = !reader.hasError();
    return parsed;
}

TEST(SaveCircuitSvg, WritesTheViewWithItsLabelsAsText) {
    Circuit circuit;
    testing::AddElement(circuit, ElementKind::Battery, 200, 600, -300, 0.1, 1.5, 0.3);
    testing::AddElement(circuit, ElementKind::Switch, 200, 600, -700, 1.0, 0.0, 0.0);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("回路.svg"));
    QString error;
    ASSERT_TRUE(SaveCircuitSvg(path, circuit, DrawSettings{}, QSize(480, 360), error))
        << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const ParsedSvg svg = Parse(file.readAll());
    EXPECT_TRUE(svg.wellFormed);
    EXPECT_EQ(svg.viewBox, QStringLiteral("0 0 480 360"));
    EXPECT_EQ(svg.width, QStringLiteral("127mm"));  // 480 pixels at 96 dpi
    EXPECT_EQ(svg.texts, (QStringList{QStringLiteral("1.5 V"), QStringLiteral("OFF")}));
}

TEST(SaveCircuitSvg, FailureLeavesNoFileAndSaysWhy) {
    Circuit circuit;
    testing::AddElement(circuit, ElementKind::Bulb, 200, 600, -300, 5.0, 0.0, 0.0);
    QTemporaryDir folder;
    QString error;
    EXPECT_FALSE(SaveCircuitSvg(folder.filePath(QStringLiteral("no/such/a.svg")), circuit,
                                DrawSettings{}, QSize(100, 100), error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(SaveCircuitSvg(folder.filePath(QStringLiteral("empty.svg")), circuit,
                                DrawSettings{}, QSize(0, 100), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("empty.svg"))));
}

}  // namespace
}  // namespace kelno
