#include "clinklabel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <tuple>

namespace kelno {
namespace {

constexpr const char* kAddress = "https://kelno.example.org/";

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

class LinkLabelTest : public ::testing::Test {
protected:
    // A label on a shown parent, placed at `area`, attached.
    CLinkLabel& MakeLink(const QString& text, const QRect& area,
                         Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop) {
        label_ = new CLinkLabel(text, &parent_);
        label_->setAlignment(align);
        label_->setGeometry(area);
        label_->setLinkOpener([this](const QString& target) { opened_ << target; });
        label_->Attach();
        parent_.resize(400, 200);
        parent_.show();
        return *label_;
    }
    void Hover(bool entering) {
        if (entering) {
            QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
            QApplication::sendEvent(label_, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(label_, &leave);
        }
    }

    QWidget parent_;
    CLinkLabel* label_ = nullptr;
    QStringList opened_;
};

TEST_F(LinkLabelTest, HoverColourComesAndGoesAtOnce) {
    CLinkLabel& link = MakeLink(kAddress, QRect(20, 40, 300, 30));
    const QColor highlight = link.palette().color(QPalette::Active, QPalette::Highlight);
    ASSERT_NE(highlight, QColor(0, 0, 224));
    EXPECT_EQ(link.textColour(), QColor(0, 0, 224));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent_));

    PaintCounter counter;
    link.installEventFilter(&counter);
    Hover(true);
    EXPECT_TRUE(link.hovering());
    EXPECT_EQ(link.textColour(), highlight);
    // Painted inside the event itself, without waiting for the event loop.
    EXPECT_EQ(counter.paints, 1);

    Hover(false);
    EXPECT_FALSE(link.hovering());
    EXPECT_EQ(link.textColour(), QColor(0, 0, 224));
    EXPECT_EQ(counter.paints, 2);
}

TEST_F(LinkLabelTest, FitsItselfToItsTextByItsAlignment) {
    const QRect area(20, 40, 300, 31);
    for (const auto& [align, horizontal, vertical] :
         {std::tuple{Qt::AlignLeft | Qt::AlignTop, 'l', 't'},
          std::tuple{Qt::AlignRight | Qt::AlignTop, 'r', 't'},
          std::tuple{Qt::AlignHCenter | Qt::AlignVCenter, 'c', 'c'},
          std::tuple{Qt::AlignLeft | Qt::AlignVCenter, 'l', 'c'}}) {
        CLinkLabel& link = MakeLink(kAddress, area, align);
        EXPECT_TRUE(link.font().underline());
        const QFontMetrics metrics(link.font());
        const int width = metrics.horizontalAdvance(link.text());
        const int height = metrics.height();
        const QRect fitted = link.geometry();
        EXPECT_LE(std::abs(fitted.width() - width), horizontal == 'c' ? 1 : 0) << horizontal;
        EXPECT_LE(std::abs(fitted.height() - height), vertical == 'c' ? 1 : 0) << vertical;
        if (horizontal == 'l') {
            EXPECT_EQ(fitted.left(), area.left());
        } else if (horizontal == 'r') {
            EXPECT_EQ(fitted.right(), area.right());
        } else {
            EXPECT_LE(std::abs(fitted.center().x() - area.center().x()), 1);
        }
        if (vertical == 't') {
            EXPECT_EQ(fitted.top(), area.top());
        } else {
            EXPECT_LE(std::abs(fitted.center().y() - area.center().y()), 1);
        }
        delete label_;
    }
}

TEST_F(LinkLabelTest, TextAndTargetStandInForEachOther) {
    CLinkLabel& fromText = MakeLink(kAddress, QRect(0, 0, 100, 20));
    EXPECT_EQ(fromText.linkTarget(), kAddress);
    EXPECT_EQ(fromText.toolTip(), kAddress);
    delete label_;

    label_ = new CLinkLabel(&parent_);
    label_->setLinkTarget(kAddress);
    label_->Attach();
    EXPECT_EQ(label_->text(), kAddress);
    delete label_;

    // Nothing to show and nothing to open: it stays empty, shrunk to nothing.
    CLinkLabel& empty = MakeLink(QString(), QRect(0, 0, 100, 20));
    EXPECT_TRUE(empty.text().isEmpty());
    EXPECT_TRUE(empty.linkTarget().isEmpty());
    EXPECT_EQ(empty.width(), 0);
}

TEST_F(LinkLabelTest, OnlyALeftClickOnTheLinkOpensIt) {
    CLinkLabel& link = MakeLink(kAddress, QRect(20, 40, 300, 30));
    QTest::mouseClick(&link, Qt::RightButton);
    EXPECT_TRUE(opened_.isEmpty());
    // Pressed on the link, released off it: no click.
    QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(link.width() + 10, 2));
    EXPECT_TRUE(opened_.isEmpty());
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_EQ(opened_, QStringList{kAddress});
}

}  // namespace
}  // namespace kelno
