// The frame, client and scroll-bar widgets: they only hand Qt's events to
// the layer.
#include "core/widgets_p.h"
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>

namespace plat::core {

FrameWidget::FrameWidget(HWND hwnd, uint64_t gen, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), hwnd_(hwnd), gen_(gen)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_NoSystemBackground);
    // The layer decides what a window shows; Qt must not erase it.
    setAutoFillBackground(false);
}

WindowRec* FrameWidget::rec() const
{
    WindowRec* r = Find(hwnd_);
    return r && r->gen == gen_ ? r : nullptr;
}

void FrameWidget::paintEvent(QPaintEvent*)
{
    if (rec() && !rec()->nc.isNull())
        PaintNonClient(hwnd_, this);
}

// The window manager's frame is learnt from where it put the window.
void FrameWidget::noteDecoration()
{
    if (!isWindow() || !isVisible() || !rec())
        return;
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins decor(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    if (decor != rec()->decor && decor.left() >= 0 && decor.top() >= 0 && decor.right() >= 0 && decor.bottom() >= 0)
        QtEntry([&] { DecorationChanged(hwnd_, decor); });
}

void FrameWidget::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (applying || !isWindow() || !rec())
        return;
    QtEntry([&] { NativeGeometryChanged(hwnd_, geometry()); });
    noteDecoration();
}

void FrameWidget::moveEvent(QMoveEvent* e)
{
    QWidget::moveEvent(e);
    if (applying || !isWindow() || !rec())
        return;
    QtEntry([&] { NativeGeometryChanged(hwnd_, geometry()); });
    noteDecoration();
}

void FrameWidget::closeEvent(QCloseEvent* e)
{
    // The window decides: the default procedure destroys it.
    e->ignore();
    if (rec())
        QtEntry([&] { SendMessage(hwnd_, WM_CLOSE, 0, 0); });
}

void FrameWidget::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isWindow() && rec())
        ActivationChanged(hwnd_, isActiveWindow());
    // The window manager maximized it; the resize that follows reports so.
    if (e->type() == QEvent::WindowStateChange && isWindow() && rec() && isMaximized())
        rec()->maximized = true;
}

// Keys reach a frame only when no client widget has Qt's focus; they go to
// the layer's focus window, if any.
void FrameWidget::keyPressEvent(QKeyEvent* e)
{
    e->accept();
    if (HWND f = GetFocus())
        KeyEvent(f, e, true);
}

void FrameWidget::keyReleaseEvent(QKeyEvent* e)
{
    e->accept();
    if (HWND f = GetFocus())
        KeyEvent(f, e, false);
}

// Clicks on the non-client parts are not the client's; swallowing them keeps
// them from reaching the parent window's widget.
void FrameWidget::mousePressEvent(QMouseEvent* e) { e->accept(); }
void FrameWidget::mouseReleaseEvent(QMouseEvent* e) { e->accept(); }
void FrameWidget::mouseDoubleClickEvent(QMouseEvent* e) { e->accept(); }
void FrameWidget::mouseMoveEvent(QMouseEvent* e) { e->accept(); }

ClientWidget::ClientWidget(HWND hwnd, uint64_t gen, QWidget* parent)
    : QWidget(parent), hwnd_(hwnd), gen_(gen)
{
    // Custom windows take the focus only through SetFocus.
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void ClientWidget::paintEvent(QPaintEvent* e)
{
    WindowRec* r = Find(hwnd_);
    if (!r || r->gen != gen_)
        return;
    PaintClient(hwnd_, this, e);
}

void ClientWidget::mousePressEvent(QMouseEvent* e)
{
    e->accept();
    MouseEvent(hwnd_, e, false);
}

void ClientWidget::mouseReleaseEvent(QMouseEvent* e)
{
    e->accept();
    MouseEvent(hwnd_, e, false);
}

void ClientWidget::mouseDoubleClickEvent(QMouseEvent* e)
{
    e->accept();
    MouseEvent(hwnd_, e, true);
}

void ClientWidget::mouseMoveEvent(QMouseEvent* e)
{
    e->accept();
    MouseEvent(hwnd_, e, false);
}

void ClientWidget::wheelEvent(QWheelEvent* e) { e->accept(); }

void ClientWidget::keyPressEvent(QKeyEvent* e)
{
    e->accept();
    KeyEvent(hwnd_, e, true);
}

void ClientWidget::keyReleaseEvent(QKeyEvent* e)
{
    e->accept();
    KeyEvent(hwnd_, e, false);
}

void ClientWidget::focusInEvent(QFocusEvent* e) { FocusEvent(hwnd_, e, true); }
void ClientWidget::focusOutEvent(QFocusEvent* e) { FocusEvent(hwnd_, e, false); }

BarWidget::BarWidget(HWND hwnd, int bar, Qt::Orientation o, QWidget* parent)
    : QScrollBar(o, parent), hwnd_(hwnd), bar_(bar)
{
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (!applying)
            ScrollAction(hwnd_, bar_, action);
    });
}

void BarWidget::mouseReleaseEvent(QMouseEvent* e)
{
    QScrollBar::mouseReleaseEvent(e);
    ScrollReleased(hwnd_, bar_);
}

} // namespace plat::core
