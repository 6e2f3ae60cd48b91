#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "document/export_format.h"
#include "editing/edit_controller.h"
#include "editing/editing_port.h"
#include "render/draw_circuit.h"

class QMenu;
class QPagedPaintDevice;
class QScrollArea;

namespace kelno {

class CKelnoDoc;
class ClassroomMode;

// The view of the circuit: paints the document's live circuit through DrawCircuit, directly
// or, with smooth display, through an off-screen picture of the whole view; hands mouse and
// key input to the editing state machine and paints its rubber lines. Thin on purpose: the
// gestures live in EditController.
class CKelnoView : public QWidget, public EditingPort {
    Q_OBJECT

public:
    explicit CKelnoView(CKelnoDoc& document, QWidget* parent = nullptr);
    ~CKelnoView() override;

    EditController& controller() { return *controller_; }
    const EditController& controller() const { return *controller_; }

    // What DrawCircuit is given: the document's state and options, the grid, this view's
    // extent and the classroom's layers.
    DrawSettings drawSettings() const;
    // The picture of the view as it stands, for an export: its settings, its size in
    // pixels, its scale and its screen's resolution.
    ExportOptions PictureExport();

    // The program's option that wires run at right angles, from the document's owner.
    void SetNoDiagonalWires(bool on);
    bool noDiagonalWires() const { return noDiagonalWires_; }

    // The classroom's layers and status text from now on (none without this).
    void SetClassroom(ClassroomMode& classroom);

    // The one page of printing and print preview: the circuit at true size.
    bool PrintPage(QPagedPaintDevice& device, std::string& error);

    // The view's commands.
    void SelectAll();
    void ToggleGrid();

    // The scroll area that shows the view, made once: scroll bars appear when the circuit
    // reaches beyond what is visible. The view is the whole canvas, from the logical origin
    // to the circuit's far edge (or the visible area, if that is larger).
    QScrollArea* CreateScrollArea();
    // Zoom: view state alone. Files, prints, the tolerances in pixels and the coordinates of
    // points never change with it.
    double zoom() const { return zoom_; }
    void ZoomIn();
    void ZoomOut();
    void ZoomToActualSize();
    // The zoom at which the whole circuit is visible, scrolled to its top-left corner.
    void ZoomToFit();
    // Sets the zoom, keeping the logical point under `visibleSpot` (pixels within the
    // visible area) where it is.
    void ZoomAt(double zoom, QPoint visibleSpot);
    // The context menu: every item enabled, whatever the state of its command.
    std::unique_ptr<QMenu> CreateContextMenu();

    // EditingPort
    void SetStatusText(std::string_view text) override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    void Repaint() override;
    void RequestDetails(const DetailsValues& initial, DetailsDone done) override;

signals:
    // A text for the message pane of the status bar ("Short", an element's summary).
    void statusTextChanged(const QString& text);
    void gridChanged(bool shown);
    // The selection or the gesture under way changed: commands may be enabled differently.
    void editStateChanged();
    // A command was chosen in the context menu.
    void commandChosen(int id);
    // What a press where the mouse is would do, or what letting go does during a drag; empty
    // when there is nothing to say.
    void promptChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ApplyTool(Tool tool);
    // The scale follows the screen the view is on, magnified by the zoom.
    void SyncScale();
    ViewScale ZoomedScale() const;
    // Lines of the drawing thicken with the zoom and the screen's pixels per pixel.
    qreal ThinLineWidth() const;
    // The canvas reaches to the circuit's far edge.
    void UpdateCanvasSize();
    QPoint scrollPosition() const;
    void ScrollTo(QPoint position);
    QSize visibleSize() const;
    void PaintView(QPainter& painter, QColor background);
    void PaintRubberLines(QPainter& painter, QColor background);
    // The ring round the point a press or a release concerns and the link a pull takes off:
    // on the screen only, never in a print or a picture.
    void PaintPressFeedback(QPainter& painter);
    // The cursor, the prompt and the rings follow the mouse, the tool and the circuit.
    void UpdatePressFeedback();
    StatusSink StatusToFrame();
    void FollowClassroom();

    CKelnoDoc& document_;
    ClassroomMode* classroom_ = nullptr;
    QScrollArea* scrollArea_ = nullptr;
    double zoom_ = 1.0;
    bool noDiagonalWires_ = false;
    // The canvas reaches at least this far once a zoom about the mouse scrolled it there,
    // also where the circuit does not.
    QSize scrolledExtent_;
    std::unique_ptr<EditController> controller_;
    // What the feedback showed last, so that a move that changes nothing repaints nothing.
    std::optional<PressPreview> shownPreview_;
    const CircuitPoint* shownTarget_ = nullptr;
    QString shownPrompt_;
    std::optional<std::pair<int, Tool>> shownCursor_;  // action (or -1) and tool
};

}  // namespace kelno
