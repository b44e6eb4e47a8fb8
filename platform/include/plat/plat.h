// The whole layer in one include; programs write `using namespace plat;`.
#pragma once
#include "plat/types.h"
#if __has_include("plat/msg.h")
#include "plat/msg.h"
#endif
#if __has_include("plat/window.h")
#include "plat/window.h"
#endif
#if __has_include("plat/loop.h")
#include "plat/loop.h"
#endif
#if __has_include("plat/modal.h")
#include "plat/modal.h"
#endif
#if __has_include("plat/uihost.h")
#include "plat/uihost.h"
#endif
#if __has_include("plat/config.h")
#include "plat/config.h"
#endif
#if __has_include("plat/text.h")
#include "plat/text.h"
#endif
#if __has_include("plat/gdi.h")
#include "plat/gdi.h"
#endif
#if __has_include("plat/dib.h")
#include "plat/dib.h"
#endif
#if __has_include("plat/print.h")
#include "plat/print.h"
#endif
#if __has_include("plat/controls.h")
#include "plat/controls.h"
#endif
#if __has_include("plat/commctl.h")
#include "plat/commctl.h"
#endif
#if __has_include("plat/dialog.h")
#include "plat/dialog.h"
#endif
#if __has_include("plat/filedlg.h")
#include "plat/filedlg.h"
#endif
#if __has_include("plat/help.h")
#include "plat/help.h"
#endif
#if __has_include("plat/menu.h")
#include "plat/menu.h"
#endif
#if __has_include("plat/res.h")
#include "plat/res.h"
#endif
#if __has_include("plat/memory.h")
#include "plat/memory.h"
#endif
#if __has_include("plat/crt.h")
#include "plat/crt.h"
#endif
#if __has_include("plat/path.h")
#include "plat/path.h"
#endif
#if __has_include("plat/profile.h")
#include "plat/profile.h"
#endif
#if __has_include("plat/module.h")
#include "plat/module.h"
#endif
#if __has_include("plat/clock.h")
#include "plat/clock.h"
#endif
