#include "ckelnoview.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPagedPaintDevice>
#include <QPainter>

#include "action_cursors.h"
#include "circuit_rendering.h"
#include "ckelnodoc.h"
#include "classroom_mode.h"
#include "command_table.h"
#include "qpainter_surface.h"
#include "render/element_frame.h"
#include "tool_cursors.h"

namespace kelno {

namespace {

constexpr const char* kCannotMakePicture = "画像を作れませんでした (ﾒﾓﾘが足りません)。";

DevicePoint DeviceOf(const QMouseEvent* event) {
    const QPoint pixel = event->position().toPoint();
    return {pixel.x(), pixel.y()};
}

}  // namespace

CKelnoView::CKelnoView(CKelnoDoc& document, QWidget* parent)
    : QWidget(parent),
      document_(document),
      controller_(std::make_unique<EditController>(document.core(), *this, ScaleOf(*this))) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);  // every paint covers the whole view
    setMinimumSize(1, 1);
    setMouseTracking(true);  // moves without a button show what a press would do
    connect(&document_, &CKelnoDoc::repaintRequested, this, [this] {
        update();
        UpdatePressFeedback();
    });
    connect(&document_, &CKelnoDoc::toolChanged, this, &CKelnoView::ApplyTool);
    ApplyTool(document_.core().currentTool());
}

CKelnoView::~CKelnoView() = default;

void CKelnoView::ApplyTool(int tool) {
    shownCursor_.reset();
    setCursor(ToolCursor(tool));
    update();  // a selected point is marked differently under the selection tool
    UpdatePressFeedback();
}

void CKelnoView::SyncScale() {
    const ViewScale scale = ScaleOf(*this);
    const ViewScale& current = controller_->scale();
    if (scale.pixelsPerUnitX() != current.pixelsPerUnitX() ||
        scale.pixelsPerUnitY() != current.pixelsPerUnitY()) {
        controller_->SetScale(scale);
    }
}

DrawSettings CKelnoView::drawSettings() const {
    const Document& core = document_.core();
    DrawSettings settings;
    settings.showGrid = controller_->showGrid();
    settings.showCurrentFlow = core.showCurrentFlow();
    settings.noDiagonalWires = Document::noDiagonalWires();
    settings.shortCircuit = core.shortCircuit();
    settings.currentTool = core.currentTool();
    settings.gridExtent = LogicalExtent(size(), ScaleOf(*this));
    if (classroom_ != nullptr) {
        classroom_->Decorate(settings, controller_->scale());
    }
    return settings;
}

void CKelnoView::SetClassroom(ClassroomMode& classroom) {
    classroom_ = &classroom;
    connect(classroom_, &ClassroomMode::changed, this, &CKelnoView::FollowClassroom);
    FollowClassroom();
}

// The classroom may have changed the selection as well as the picture.
void CKelnoView::FollowClassroom() {
    controller_->SetLargeCurrentWarning(classroom_->warnLargeCurrent());
    controller_->SetReadingsHidden(classroom_->readingsHidden());
    Repaint();
}

StatusSink CKelnoView::StatusToFrame() {
    return [this](std::string_view text) {
        SetStatusText(classroom_ != nullptr ? classroom_->StatusText(text) : std::string(text));
    };
}

// --- Painting ----------------------------------------------------------------------------

void CKelnoView::paintEvent(QPaintEvent*) {
    SyncScale();
    const QColor background = palette().color(QPalette::Base);
    QPainter painter(this);
    if (!document_.core().smoothDisplay()) {
        PaintView(painter, background);
        return;
    }
    // Smooth display: the whole view is drawn aside and shown in one copy.
    const qreal ratio = devicePixelRatioF();
    QImage picture(size() * ratio, QImage::Format_RGB32);
    if (picture.isNull()) {
        PaintView(painter, background);
        return;
    }
    picture.setDevicePixelRatio(ratio);
    {
        QPainter offscreen(&picture);
        PaintView(offscreen, background);
    }
    painter.drawImage(0, 0, picture);
}

void CKelnoView::PaintView(QPainter& painter, QColor background) {
    PaintCircuit(painter, controller_->scale(), rect(), background, document_.core().circuit(),
                 drawSettings(), StatusToFrame());
    PaintRubberLines(painter, background);
    PaintPressFeedback(painter);
}

void CKelnoView::PaintPressFeedback(QPainter& painter) {
    const std::optional<PressPreview> preview = controller_->hoverPreview();
    const CircuitPoint* target = controller_->releaseTarget();
    if (!preview && target == nullptr) {
        return;
    }
    const ViewScale& scale = controller_->scale();
    const auto at = [&scale](const CircuitPoint* point) {
        const DevicePoint d = scale.ToDevice(point->x, point->y);
        return QPointF(static_cast<qreal>(d.x), static_cast<qreal>(d.y));
    };
    const qreal ring = 16.0;  // a little outside the grab tolerance of 14 pixels
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    if (preview && preview->link != nullptr) {
        painter.setPen(QPen(QColor(255, 140, 0, 170), 6.0, Qt::SolidLine, Qt::RoundCap));
        const CircuitElement& link = *preview->link;
        const QPointF end1 = at(link.end1());
        const QPointF end2 = at(link.end2());
        if (IsWire(link.kind) && Document::noDiagonalWires()) {
            const DrawPoint corner = RightAngleCorner(link.kind, {link.end1()->x, link.end1()->y},
                                                      {link.end2()->x, link.end2()->y});
            const DevicePoint c = scale.ToDevice(corner.x, corner.y);
            painter.drawPolyline(QPolygonF({end1, QPointF(c.x, c.y), end2}));
        } else {
            painter.drawLine(end1, end2);
        }
    }
    if (preview && preview->point != nullptr) {
        painter.setPen(QPen(QColor(230, 110, 0), 2.0));
        painter.drawEllipse(at(preview->point), ring, ring);
    }
    if (target != nullptr) {
        painter.setPen(QPen(QColor(0, 150, 0), 3.0));
        painter.drawEllipse(at(target), ring, ring);
    }
    painter.restore();
}

void CKelnoView::UpdatePressFeedback() {
    const std::optional<PressPreview> preview = controller_->hoverPreview();
    const CircuitPoint* target = controller_->releaseTarget();
    const int tool = document_.core().currentTool();
    const std::pair<int, int> cursorKey{preview ? static_cast<int>(preview->action) : -1, tool};
    if (shownCursor_ != cursorKey) {
        shownCursor_ = cursorKey;
        setCursor(preview ? ActionCursor(preview->action, tool) : ToolCursor(tool));
    }
    const QString prompt = QString::fromStdString(controller_->prompt());
    if (prompt != shownPrompt_) {
        shownPrompt_ = prompt;
        emit promptChanged(prompt);
    }
    if (preview != shownPreview_ || target != shownTarget_) {
        shownPreview_ = preview;
        shownTarget_ = target;
        update();
    }
}

void CKelnoView::PaintRubberLines(QPainter& painter, QColor background) {
    const auto wire = controller_->rubberWire();
    const auto band = controller_->rubberBand();
    if (!wire && !band) {
        return;
    }
    QPainterSurface surface(painter, controller_->scale(), background);
    if (wire) {
        surface.DrawLine({wire->from.x, wire->from.y}, {wire->to.x, wire->to.y});
    }
    if (band) {
        DrawOutlineRect(surface,
                        {band->corner1.x, band->corner1.y, band->corner2.x, band->corner2.y});
    }
}

bool CKelnoView::PrintPage(QPagedPaintDevice& device, std::string& error) {
    return PrintCircuitPage(device, document_.core().circuit(), drawSettings(), StatusToFrame(),
                            error);
}

// --- Input -------------------------------------------------------------------------------

void CKelnoView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    SyncScale();
    controller_->Press(DeviceOf(event), event->modifiers().testFlag(Qt::ShiftModifier));
    UpdatePressFeedback();
}

void CKelnoView::mouseMoveEvent(QMouseEvent* event) {
    SyncScale();
    controller_->Hover(DeviceOf(event), event->modifiers().testFlag(Qt::ShiftModifier));
    controller_->Move(DeviceOf(event));
    UpdatePressFeedback();
}

void CKelnoView::leaveEvent(QEvent* event) {
    controller_->HoverLeft();
    UpdatePressFeedback();
    QWidget::leaveEvent(event);
}

void CKelnoView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    SyncScale();
    controller_->Release(DeviceOf(event));
    UpdatePressFeedback();
}

// The first click of a double-click has pressed and released already; the second one is
// the double-click alone, without another press.
void CKelnoView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    SyncScale();
    controller_->DoubleClick(DeviceOf(event));
}

void CKelnoView::keyPressEvent(QKeyEvent* event) {
    using Arrow = EditController::Arrow;
    switch (event->key()) {
        case Qt::Key_Left:
            controller_->Nudge(Arrow::Left);
            return;
        case Qt::Key_Up:
            controller_->Nudge(Arrow::Up);
            return;
        case Qt::Key_Right:
            controller_->Nudge(Arrow::Right);
            return;
        case Qt::Key_Down:
            controller_->Nudge(Arrow::Down);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

// A dialog or another window that takes over in the middle of a gesture ends it.
void CKelnoView::focusOutEvent(QFocusEvent* event) {
    if (controller_->capturing()) {
        controller_->CaptureLost();
    }
    QWidget::focusOutEvent(event);
}

// --- Commands ----------------------------------------------------------------------------

void CKelnoView::SelectAll() {
    controller_->SelectAll();
}

void CKelnoView::ToggleGrid() {
    controller_->ToggleGrid();
    emit gridChanged(controller_->showGrid());
}

void CKelnoView::SaveBitmap() {
    Prompts& prompts = document_.prompts();
    const QString path = prompts.ChooseBitmapFile();
    if (path.isEmpty()) {
        return;
    }
    std::string error;
    if (!WriteBitmap(path, error)) {
        prompts.ShowError(QString::fromStdString(error));
    }
}

bool CKelnoView::WriteBitmap(const QString& path, std::string& error) {
    SyncScale();
    const QImage picture = RenderViewImage(document_.core().circuit(), drawSettings(), size(),
                                           controller_->scale(), StatusToFrame());
    if (picture.isNull()) {
        error = kCannotMakePicture;
        return false;
    }
    return WriteBmp24(QFile::encodeName(path).toStdString(), ToRgbImage(picture), error);
}

// --- Context menu ------------------------------------------------------------------------

std::unique_ptr<QMenu> CKelnoView::CreateContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    for (const ContextMenuItem& item : ContextMenu()) {
        if (item.id == 0) {
            menu->addSeparator();
        } else {
            menu->addAction(QString::fromUtf8(item.text))->setData(item.id);
        }
    }
    return menu;
}

// The menu stands centred on the click; its command runs once it has closed.
void CKelnoView::contextMenuEvent(QContextMenuEvent* event) {
    if (controller_->capturing()) {
        controller_->CaptureLost();  // the menu takes the mouse
    }
    const std::unique_ptr<QMenu> menu = CreateContextMenu();
    const QPoint at = event->globalPos() - QPoint(menu->sizeHint().width() / 2, 0);
    const QAction* chosen = menu->exec(at);
    if (chosen != nullptr) {
        emit commandChosen(chosen->data().toInt());
    }
}

// --- EditingPort -------------------------------------------------------------------------

void CKelnoView::SetStatusText(std::string_view text) {
    emit statusTextChanged(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

// Qt already gives every move and the release to the widget that took the press, also
// outside it, and a gesture only ever captures from a press: an explicit grab, which could
// hold the whole screen's pointer, is not needed.
void CKelnoView::CaptureMouse() {}

void CKelnoView::ReleaseMouse() {}

void CKelnoView::Repaint() {
    update();
    emit editStateChanged();
}

std::optional<DetailsValues> CKelnoView::EditDetails(const DetailsValues& initial) {
    return document_.prompts().EditDetails(initial);
}

}  // namespace kelno
