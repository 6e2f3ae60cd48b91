#include "clinklabel.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPalette>

#include "open_link.h"

namespace kelno {

namespace {

const QColor kLinkColour(0, 0, 224);

// The text is drawn in the palette's window-text colour.
void SetTextColour(QLabel& label, const QColor& colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

}  // namespace

CLinkLabel::CLinkLabel(QWidget* parent) : CLinkLabel(QString(), parent) {}

CLinkLabel::CLinkLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent),
      linkColour_(kLinkColour),
      hoverColour_(palette().color(QPalette::Active, QPalette::Highlight)),
      opener_(OpenLink) {
    // An address is never markup.
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCursor(Qt::PointingHandCursor);
    SetTextColour(*this, linkColour_);
}

void CLinkLabel::setLinkTarget(const QString& target) {
    linkTarget_ = target;
}

void CLinkLabel::setLinkOpener(LinkOpener opener) {
    opener_ = std::move(opener);
}

QColor CLinkLabel::textColour() const {
    return palette().color(QPalette::WindowText);
}

void CLinkLabel::Attach() {
    if (linkTarget_.isEmpty()) {
        linkTarget_ = text();
    }
    if (text().isEmpty()) {
        setText(linkTarget_);
    }
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    FitToText();
    setToolTip(linkTarget_);
}

// Shrinks (or grows) the label to its text's extent, keeping the edge or the middle that
// its alignment holds it by.
void CLinkLabel::FitToText() {
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text());
    const int textHeight = metrics.height();
    QRect area = geometry();
    const Qt::Alignment align = alignment();
    if (align & Qt::AlignVCenter) {
        const int dy = (area.height() - textHeight) / 2;
        area.adjust(0, dy, 0, -dy);
    } else {
        area.setHeight(textHeight);
    }
    if (align & Qt::AlignHCenter) {
        const int dx = (area.width() - textWidth) / 2;
        area.adjust(dx, 0, -dx, 0);
    } else if (align & Qt::AlignRight) {
        area.setLeft(area.right() + 1 - textWidth);
    } else {
        area.setWidth(textWidth);
    }
    setGeometry(area);
}

void CLinkLabel::SetHovering(bool hovering) {
    if (hovering == hovering_) {
        return;
    }
    hovering_ = hovering;
    SetTextColour(*this, hovering_ ? hoverColour_ : linkColour_);
    // At once, not when the event loop next gets round to painting.
    repaint();
}

void CLinkLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    SetHovering(true);
}

void CLinkLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    SetHovering(false);
}

void CLinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

// A click is a press and a release of the left button both on the label.
void CLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    const bool clicked = pressed_ && event->button() == Qt::LeftButton &&
                         rect().contains(event->position().toPoint());
    pressed_ = false;
    if (clicked && opener_) {
        opener_(linkTarget_);
    }
}

}  // namespace kelno
