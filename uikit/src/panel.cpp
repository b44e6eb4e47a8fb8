// Panel base: light-grey background, one tooltip, the drawing view.
#include "uikit/panel.h"
#include "uikit/uikit.h"
#include "foundation/draw.h"
#include "foundation/lang.h"
#include "foundation/utils.h"
#include "plat/gdi.h"
#include "plat/window.h"

using namespace plat;

CPanelWnd::~CPanelWnd()
{
    if (m_tooltip != 0 && plat::IsWindow(m_tooltip))
        plat::DestroyWindow(m_tooltip);
}

int CPanelWnd::OnCreate(CREATESTRUCT* cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    SetClassLongPtr(m_hWnd, GCLP_HBRBACKGROUND, static_cast<LONG_PTR>(GetStockObject(LTGRAY_BRUSH)));
    return 0;
}

void CPanelWnd::OnDestroy()
{
    if (m_tooltip != 0) {
        if (plat::IsWindow(m_tooltip))
            plat::DestroyWindow(m_tooltip);
        m_tooltip = 0;
    }
    gfx_release_window(m_hWnd);
    CWnd::OnDestroy();
}

void CPanelWnd::SetToolTip(const char* text)
{
    if (m_hWnd == 0)
        return;
    if (m_tooltip != 0 && plat::IsWindow(m_tooltip))
        plat::DestroyWindow(m_tooltip);
    m_tooltip = create_tooltip(uikit_resource_module(), m_hWnd, lang_translate(text));
}

void CPanelWnd::SelectGraphicsView()
{
    gfx_select_window(m_hWnd);
}
