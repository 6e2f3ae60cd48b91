#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>
#include <functional>

namespace kelno {

// A text that looks and acts like a web link: underlined, in the link colour, in the
// highlight colour while the mouse is over it, with the address as its tool tip, opening
// the address when clicked. Like a static text it is aligned to the top left unless told
// otherwise; Attach() fits it to its text once its text, place and alignment are set.
class CLinkLabel : public QLabel {
    Q_OBJECT

public:
    // Opens an address; the default is OpenLink.
    using LinkOpener = std::function<void(const QString& target)>;

    explicit CLinkLabel(QWidget* parent = nullptr);
    CLinkLabel(const QString& text, QWidget* parent = nullptr);

    // The address opened on a click. When it is empty at Attach(), the text is taken.
    const QString& linkTarget() const { return linkTarget_; }
    void setLinkTarget(const QString& target);

    // Makes the label a link: the text and target stand in for each other when one is
    // empty, the font gets its underline, the label shrinks or grows to its text (keeping
    // its left, right or centre and its top or middle, by its alignment) and the tool tip
    // shows the target.
    void Attach();

    bool hovering() const { return hovering_; }
    // The colour the text is drawn in now.
    QColor textColour() const;

    void setLinkOpener(LinkOpener opener);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetHovering(bool hovering);
    void FitToText();

    QString linkTarget_;
    QColor linkColour_;
    QColor hoverColour_;
    bool hovering_ = false;
    bool pressed_ = false;
    LinkOpener opener_;
};

}  // namespace kelno
