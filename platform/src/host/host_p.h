// Private to platform/src. Hooks between the UI host and the window layer.
#pragma once
#include "plat/types.h"
#include "plat/uihost.h"

class QWidget;

namespace plat {

// Set by the window layer: the widget a box or prompt owned by hwnd is
// parented to (NULL: none).
using WidgetForHwnd = QWidget* (*)(HWND);
void SetWidgetForHwnd(WidgetForHwnd fn);
QWidget* WidgetFor(HWND hwnd);

} // namespace plat

namespace plat {

// The buttons of a box type in screen order (IDOK...); returns how many.
int BoxButtons(UINT type, int out[3]);
// The answer a box gives when nobody chooses: its default button.
int BoxDefaultAnswer(UINT type);
// Selects the host InitGui puts in place unless one was set explicitly.
void SetDefaultUiHost(UiHost* host);

} // namespace plat
