// Private to platform/src. What the control classes share with the dialog
// manager and the framework: per-control state, delivery of Qt events built
// from messages, and the hook that hands a window to its framework object.
#pragma once
#include "core/core_p.h"
#include "gdi/dc_target_p.h"
#include "plat/commctl.h"
#include "plat/controls.h"
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

namespace plat::controls {

enum class Kind { Button, Edit, Static, ListBox, ComboBox, ScrollBar, Tree };

struct ControlBase {
    virtual ~ControlBase() = default;
    Kind kind;
    HWND hwnd = 0;
    QWidget* widget = nullptr;   // the client widget
    QWidget* keyTarget = nullptr; // where built key events go
    HFONT font = 0;
    // Set while the layer changes Qt state itself: no notification.
    int guard = 0;
    bool inColorQuery = false;
    explicit ControlBase(Kind k) : kind(k) {}
};

// The state of a control window; NULL for other windows.
ControlBase* StateOf(HWND hwnd);
// The state of the control whose widget (or a part of it) w is.
ControlBase* StateOfWidget(const QWidget* w);

// WM_COMMAND(id, code, control) to the parent.
void Notify(HWND hwnd, WORD code);

// Pixels a DC draws into for owner-draw and colour queries.
class ImageTarget : public detail::DcTarget {
public:
    explicit ImageTarget(QSize size) : img(size, QImage::Format_RGB32) { img.fill(0xFFFFFFFFu); }
    QImage* image() override { return &img; }
    void touched(const QRect&) override {}
    QImage img;
};

// Asks the parent for the control's colours (WM_CTLCOLOR...) and applies
// them to the widget's palette.
void ApplyControlColor(HWND hwnd, UINT ctlColorMsg);
// The WM_CTLCOLOR... message a control sends (0: none).
UINT ControlColorMessage(HWND hwnd);

// The framework attaches its object being created to the window at its
// first message; the class procedure passes itself as the one to call by
// Default(). Returns the procedure to continue with (0: none attached).
using AttachHook = WNDPROC (*)(HWND hwnd, WNDPROC classProc);
void SetAttachHook(AttachHook hook);
WNDPROC TakePendingAttach(HWND hwnd, WNDPROC classProc);

// Key routing: the dialog manager sees a key first and may take it.
using DialogKeyHook = bool (*)(HWND focus, int qtKey, Qt::KeyboardModifiers mods, bool press);
void SetDialogKeyHook(DialogKeyHook hook);
// Set by the menus: a popup is open, keys go to it.
using MenuKeyHook = bool (*)();
void SetMenuActiveHook(MenuKeyHook hook);

// The layer's application-wide event filter (keys, focus, deliveries).
void InstallEventFilter();
// Runs f with built Qt events passing the filter untouched.
void DeliverToWidget(QWidget* w, QEvent* e);

// Per-class procedures (registered by InitControls).
LRESULT ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT ListBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT ComboBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT ScrollBarProc(HWND, UINT, WPARAM, LPARAM);
LRESULT TreeProc(HWND, UINT, WPARAM, LPARAM);
LRESULT TooltipProc(HWND, UINT, WPARAM, LPARAM);

QWidget* MakeButton(HWND, QWidget*);
QWidget* MakeEdit(HWND, QWidget*);
QWidget* MakeStatic(HWND, QWidget*);
QWidget* MakeListBox(HWND, QWidget*);
QWidget* MakeComboBox(HWND, QWidget*);
QWidget* MakeScrollBar(HWND, QWidget*);
QWidget* MakeTree(HWND, QWidget*);

// Messages every control class handles alike (font, keys, focus, text,
// colours); returns true when it answered.
bool CommonMessage(ControlBase& c, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
void Register(ControlBase* c);
void Unregister(HWND hwnd);

// Dialog units of a font: base x and y.
void BaseUnits(HFONT font, int* bx, int* by);
// Text height (tmHeight) of a font.
int FontHeight(HFONT font);
QFont QFontOf(HFONT font);

// Image lists (commctl): the images of a list.
const std::vector<QImage>* ImageListImages(HIMAGELIST list);

} // namespace plat::controls

namespace plat::controls {
// The WS_GROUP run a child belongs to, in creation order.
std::vector<HWND> GroupOf(HWND hwnd);
// The parent draws item itemId (WM_DRAWITEM) into an image of size; the
// item's rectangle within it is itemRect.
QImage DrawItemImage(HWND hwnd, UINT ctlType, UINT itemId, UINT action, UINT state, QSize size,
                     uintptr_t data, const QRect& itemRect);
// Removes the layer's own scroll bars (the Qt view brings its own).
void DropLayerScrollBars(HWND hwnd);
} // namespace plat::controls

namespace plat::resources {
// The picture of a cursor or icon handle from the module tables (null if none).
QImage IconImage(HICON icon);
} // namespace plat::resources
