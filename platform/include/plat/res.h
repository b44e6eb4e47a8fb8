// Resource tables of a module: dialog templates, menus, accelerators,
// bitmaps, cursors and icons, registered by each program at start-up.
#pragma once
#include "plat/types.h"
#include <cstddef>
#include <span>

namespace plat {

// One control of a dialog template. Geometry in pixels, relative to the
// dialog's client area.
struct DlgItemTemplate {
    const char* cls;  // "BUTTON", "EDIT", "STATIC", "LISTBOX", "COMBOBOX", "SCROLLBAR", "SysTreeView32" or a registered class
    int id;
    const char* text; // "#n" with SS_ICON names icon resource n
    DWORD style, exStyle;
    int x, y, cx, cy;
};

// A dialog: the client size in pixels; (x, y) relative to the owner's client
// area unless DS_CENTER. Item order is creation, tab and GetDlgItem order.
struct DlgTemplate {
    int id;
    const char* caption;
    DWORD style;
    int x, y, cx, cy;
    const char* face; // NULL: "MS Sans Serif"
    int points;       // 0: 8
    std::span<const DlgItemTemplate> items;
};

// A menu as a nested table. A popup has children and id 0; a separator has
// MF_SEPARATOR in flags and no text.
struct MenuTemplateItem {
    const char* text;
    UINT id;
    UINT flags; // MF_GRAYED, MF_CHECKED, MF_SEPARATOR, MF_MENUBARBREAK...
    std::span<const MenuTemplateItem> children;
};

struct MenuTemplate {
    int id;
    std::span<const MenuTemplateItem> items;
};

// Accelerator flags.
inline constexpr BYTE FVIRTKEY = 0x01;
inline constexpr BYTE FNOINVERT = 0x02;
inline constexpr BYTE FSHIFT = 0x04;
inline constexpr BYTE FCONTROL = 0x08;
inline constexpr BYTE FALT = 0x10;

struct ACCEL {
    BYTE fVirt; // FVIRTKEY | FSHIFT | FCONTROL | FALT
    WORD key;   // virtual key with FVIRTKEY, else a character
    WORD cmd;
};

struct AccelTemplate {
    int id;
    std::span<const ACCEL> entries;
};

// An image file embedded in the program (plat_add_resources): a .BMP, .CUR,
// .ICO or .PNG, bytes as in the file.
enum class ImageKind { Bitmap, Cursor, Icon };
struct ImageResource {
    ImageKind kind;
    int id;
    const unsigned char* data;
    size_t size;
    int hotX, hotY; // cursors; ignored otherwise (a .CUR file's own hot spot wins)
};

// Adds tables to a module (see RegisterModule). The tables must outlive the
// module (static arrays); an id registered again replaces the older entry.
void RegisterDialogTemplates(HINSTANCE module, std::span<const DlgTemplate> dialogs);
void RegisterMenuTemplates(HINSTANCE module, std::span<const MenuTemplate> menus);
void RegisterAcceleratorTables(HINSTANCE module, std::span<const AccelTemplate> tables);
void RegisterImageResources(HINSTANCE module, std::span<const ImageResource> images);

// Lookups: NULL when the module or id is unknown.
const DlgTemplate* FindDialogTemplate(HINSTANCE module, int id);
const MenuTemplate* FindMenuTemplate(HINSTANCE module, int id);
const AccelTemplate* FindAcceleratorTable(HINSTANCE module, int id);
const ImageResource* FindImageResource(HINSTANCE module, ImageKind kind, int id);

// Texts of templates (captions, control texts, menu items) pass through this
// function when set, so a program can translate them where it asks to.
using ResourceTextHook = const char* (*)(const char* text);
void SetResourceTextHook(HINSTANCE module, ResourceTextHook hook);
const char* ResourceText(HINSTANCE module, const char* text);

// Images: a new bitmap (exact colours and depth as stored), the cursor or
// icon handle (a cursor handle works with SetCursor; an icon is drawn by
// SS_ICON statics and DrawIcon). 0 when missing or damaged.
HBITMAP LoadBitmap(HINSTANCE module, int id);
HICON LoadIcon(HINSTANCE module, int id);
HCURSOR LoadModuleCursor(HINSTANCE module, int id);
BOOL DrawIcon(HDC hdc, int x, int y, HICON icon);

} // namespace plat
