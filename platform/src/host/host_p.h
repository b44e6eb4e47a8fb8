// Private to platform/src. Hooks between the UI host and the window layer.
#pragma once
#include "plat/types.h"

class QWidget;

namespace plat {

// Set by the window layer: the widget a box or prompt owned by hwnd is
// parented to (NULL: none).
using WidgetForHwnd = QWidget* (*)(HWND);
void SetWidgetForHwnd(WidgetForHwnd fn);
QWidget* WidgetFor(HWND hwnd);

} // namespace plat
