// Private to platform/src. The Qt widgets behind a window: the frame (the
// whole window rectangle with the layer's non-client parts) and the client
// widget that shows the surface and turns Qt input into messages.
#pragma once
#include "core/core_p.h"
#include <QScrollBar>
#include <QWidget>

namespace plat::core {

class FrameWidget : public QWidget {
public:
    FrameWidget(HWND hwnd, uint64_t gen, QWidget* parent, Qt::WindowFlags flags);
    HWND hwnd() const { return hwnd_; }
    uint64_t gen() const { return gen_; }
    // Geometry changes the layer makes itself are not reported back.
    bool applying = false;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    WindowRec* rec() const;
    void noteDecoration();
    HWND hwnd_;
    uint64_t gen_;
};

class ClientWidget : public QWidget {
public:
    ClientWidget(HWND hwnd, uint64_t gen, QWidget* parent);
    HWND hwnd() const { return hwnd_; }
    uint64_t gen() const { return gen_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    HWND hwnd_;
    uint64_t gen_;
};

class BarWidget : public QScrollBar {
public:
    BarWidget(HWND hwnd, int bar, Qt::Orientation o, QWidget* parent);
    // Set while the layer moves the thumb itself.
    bool applying = false;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    HWND hwnd_;
    int bar_;
};

// Input entry points (input.cpp), called by the widgets above.
void MouseEvent(HWND hwnd, QMouseEvent* e, bool doubleClick);
void KeyEvent(HWND hwnd, QKeyEvent* e, bool down);
void FocusEvent(HWND hwnd, QFocusEvent* e, bool in);
void ActivationChanged(HWND hwnd, bool active);
// Blits the surface; runs a pending WM_PAINT first.
void PaintClient(HWND hwnd, QWidget* w, QPaintEvent* e);
void PaintNonClient(HWND hwnd, QWidget* w);
void ScrollAction(HWND hwnd, int bar, int action);
void ScrollReleased(HWND hwnd, int bar);
// The Qt key a virtual key comes from (for synthetic input).
int QtKeyForVk(UINT vk, bool* keypad);

} // namespace plat::core
