#include "ckelnoview.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "action_cursors.h"
#include "circuit_rendering.h"
#include "ckelnodoc.h"
#include "classroom_mode.h"
#include "command_table.h"
#include "document/picture_settings.h"
#include "qpainter_surface.h"
#include "render/element_frame.h"
#include "tool_cursors.h"
#include "view/view_zoom.h"

namespace kelno {

namespace {

// How much of the background covers a picture whose readings wait for an analysis.
constexpr int kPendingVeilAlpha = 140;

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
        UpdateCanvasSize();
        UpdatePressFeedback();
    });
    connect(&document_, &CKelnoDoc::toolChanged, this, &CKelnoView::ApplyTool);
    ApplyTool(document_.core().currentTool());
}

CKelnoView::~CKelnoView() = default;

void CKelnoView::ApplyTool(Tool tool) {
    shownCursor_.reset();
    setCursor(ToolCursor(tool));
    update();  // a selected point is marked differently under the selection tool
    UpdatePressFeedback();
}

ViewScale CKelnoView::ZoomedScale() const {
    return view_zoom::Zoomed(ScaleOf(*this), zoom_);
}

qreal CKelnoView::ThinLineWidth() const {
    return zoom_ * devicePixelRatioF() > 1.0 ? std::max(1.0, zoom_) : 0.0;
}

void CKelnoView::SyncScale() {
    const ViewScale scale = ZoomedScale();
    const ViewScale& current = controller_->scale();
    if (scale.pixelsPerUnitX() != current.pixelsPerUnitX() ||
        scale.pixelsPerUnitY() != current.pixelsPerUnitY()) {
        controller_->SetScale(scale);
    }
}

DrawSettings CKelnoView::drawSettings() const {
    PictureOptions picture;
    picture.showGrid = controller_->showGrid();
    picture.noDiagonalWires = noDiagonalWires_;
    picture.extent = LogicalExtent(size(), ZoomedScale());
    if (classroom_ != nullptr) {
        picture.classroom = classroom_->shownOptions();
        picture.warningsAt = controller_->scale();
    }
    return PictureSettings(document_.core(), picture);
}

ExportOptions CKelnoView::PictureExport() {
    SyncScale();
    ExportOptions options;
    options.settings = drawSettings();
    options.width = width();
    options.height = height();
    options.scale = controller_->scale();
    options.dpi = logicalDpiX();
    options.status = StatusToFrame();
    return options;
}

void CKelnoView::SetNoDiagonalWires(bool on) {
    noDiagonalWires_ = on;
    controller_->SetNoDiagonalWires(on);
    update();
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
                 drawSettings(), StatusToFrame(), ThinLineWidth());
    if (document_.readingsPending()) {
        // The readings belong to the circuit before the last change: a pale veil says so,
        // and goes when the analysis of this one comes back.
        background.setAlpha(kPendingVeilAlpha);
        painter.fillRect(rect(), background);
    }
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
        if (IsWire(link.kind) && noDiagonalWires_) {
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
    const Tool tool = document_.core().currentTool();
    const std::pair<int, Tool> cursorKey{preview ? static_cast<int>(preview->action) : -1, tool};
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
    surface.SetThinLineWidth(ThinLineWidth());
    if (wire) {
        surface.DrawLine({wire->from.x, wire->from.y}, {wire->to.x, wire->to.y});
    }
    if (band) {
        DrawOutlineRect(surface,
                        {band->corner1.x, band->corner1.y, band->corner2.x, band->corner2.y});
    }
}

bool CKelnoView::PrintPage(QPagedPaintDevice& device, std::string& error) {
    document_.WaitForAnalysis();
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

// --- Zoom and scroll -----------------------------------------------------------------------

QScrollArea* CKelnoView::CreateScrollArea() {
    if (scrollArea_ == nullptr) {
        scrollArea_ = new QScrollArea(parentWidget());
        scrollArea_->setFrameShape(QFrame::NoFrame);
        scrollArea_->setWidgetResizable(true);  // never smaller than the visible area
        scrollArea_->setWidget(this);
        UpdateCanvasSize();
    }
    return scrollArea_;
}

QPoint CKelnoView::scrollPosition() const {
    if (scrollArea_ == nullptr) {
        return {};
    }
    return {scrollArea_->horizontalScrollBar()->value(), scrollArea_->verticalScrollBar()->value()};
}

void CKelnoView::ScrollTo(QPoint position) {
    if (scrollArea_ != nullptr) {
        scrollArea_->horizontalScrollBar()->setValue(position.x());
        scrollArea_->verticalScrollBar()->setValue(position.y());
    }
}

QSize CKelnoView::visibleSize() const {
    return scrollArea_ != nullptr ? scrollArea_->viewport()->size() : size();
}

void CKelnoView::UpdateCanvasSize() {
    QSize canvas(1, 1);
    if (const auto bounds = view_zoom::CircuitBounds(document_.core().circuit())) {
        const DevicePoint corner = ZoomedScale().ToDevice(bounds->right, bounds->bottom);
        constexpr std::int64_t kLargest = 1 << 20;  // pixels; far beyond any screen
        canvas = QSize(static_cast<int>(std::clamp<std::int64_t>(corner.x, 1, kLargest)),
                       static_cast<int>(std::clamp<std::int64_t>(corner.y, 1, kLargest)));
    }
    canvas = canvas.expandedTo(scrolledExtent_);
    if (canvas != minimumSize()) {
        setMinimumSize(canvas);
        if (scrollArea_ != nullptr) {
            // At once, so that the scroll bars know the new range.
            resize(std::max(canvas.width(), visibleSize().width()),
                   std::max(canvas.height(), visibleSize().height()));
        }
    }
}

void CKelnoView::ZoomAt(double zoom, QPoint visibleSpot) {
    zoom = std::clamp(zoom, view_zoom::kSmallest, view_zoom::kLargest);
    if (zoom == zoom_) {
        return;
    }
    if (controller_->capturing()) {
        controller_->CaptureLost();  // a gesture does not survive its scale
    }
    const ViewScale before = ZoomedScale();
    const QPoint scroll = scrollPosition();
    zoom_ = zoom;
    SyncScale();
    const DevicePoint kept = view_zoom::ScrollKeepingCursor(
        {scroll.x(), scroll.y()}, {visibleSpot.x(), visibleSpot.y()}, before, ZoomedScale());
    const QPoint target(static_cast<int>(std::clamp<std::int64_t>(kept.x, 0, 1 << 20)),
                        static_cast<int>(std::clamp<std::int64_t>(kept.y, 0, 1 << 20)));
    // Room to scroll there, also where the circuit ends before the visible area does.
    scrolledExtent_ =
        scrollArea_ != nullptr ? QSize(target.x(), target.y()) + visibleSize() : QSize();
    UpdateCanvasSize();
    ScrollTo(target);
    // The circuit moved under a mouse that stood still.
    if (underMouse()) {
        const QPoint mouse = mapFromGlobal(QCursor::pos());
        controller_->Hover({mouse.x(), mouse.y()},
                           QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier));
    }
    update();
    UpdatePressFeedback();
}

void CKelnoView::ZoomIn() {
    ZoomAt(view_zoom::ZoomIn(zoom_), QPoint(visibleSize().width() / 2, visibleSize().height() / 2));
}

void CKelnoView::ZoomOut() {
    ZoomAt(view_zoom::ZoomOut(zoom_),
           QPoint(visibleSize().width() / 2, visibleSize().height() / 2));
}

// True size as the view opened: scrolled back to the logical origin.
void CKelnoView::ZoomToActualSize() {
    ZoomAt(1.0, QPoint(0, 0));
    scrolledExtent_ = QSize();
    UpdateCanvasSize();
    ScrollTo(QPoint(0, 0));
}

void CKelnoView::ZoomToFit() {
    const auto bounds = view_zoom::CircuitBounds(document_.core().circuit());
    if (!bounds) {
        ZoomToActualSize();
        return;
    }
    ZoomAt(
        view_zoom::FitZoom(*bounds, visibleSize().width(), visibleSize().height(), ScaleOf(*this)),
        QPoint(0, 0));
    const DevicePoint corner = ZoomedScale().ToDevice(bounds->left, bounds->top);
    const QPoint target(static_cast<int>(std::clamp<std::int64_t>(corner.x, 0, 1 << 20)),
                        static_cast<int>(std::clamp<std::int64_t>(corner.y, 0, 1 << 20)));
    scrolledExtent_ = QSize(target.x(), target.y()) + visibleSize();
    UpdateCanvasSize();
    ScrollTo(target);
}

// Ctrl and the wheel zoom about the mouse; shift and the wheel scroll sideways; the wheel
// alone scrolls up and down (the scroll area does that).
void CKelnoView::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (event->modifiers().testFlag(Qt::ControlModifier) && delta != 0) {
        const QPoint spot = event->position().toPoint() - scrollPosition();
        ZoomAt(delta > 0 ? view_zoom::ZoomIn(zoom_) : view_zoom::ZoomOut(zoom_), spot);
        event->accept();
        return;
    }
    if (event->modifiers().testFlag(Qt::ShiftModifier) && scrollArea_ != nullptr && delta != 0) {
        QScrollBar* bar = scrollArea_->horizontalScrollBar();
        bar->setValue(bar->value() - delta * bar->singleStep() / 40);
        event->accept();
        return;
    }
    QWidget::wheelEvent(event);
}

// --- Context menu ------------------------------------------------------------------------

std::unique_ptr<QMenu> CKelnoView::CreateContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    for (const int id : ContextMenu()) {
        if (id == 0) {
            menu->addSeparator();
        } else {
            menu->addAction(QString::fromUtf8(FindCommand(id)->contextText))->setData(id);
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

void CKelnoView::RequestDetails(const DetailsValues& initial, DetailsDone done) {
    done(document_.prompts().EditDetails(initial));  // the modal dialog answers at once
}

}  // namespace kelno
