// The resource tables of each module and the images made from them.
#include "plat/res.h"
#include "controls/controls_p.h"
#include "core/core_p.h"
#include "kernel/handles_p.h"
#include "plat/dib.h"
#include "plat/gdi.h"
#include <QImage>
#include <map>

namespace plat {

namespace {

struct ModuleTables {
    std::map<int, const DlgTemplate*> dialogs;
    std::map<int, const MenuTemplate*> menus;
    std::map<int, const AccelTemplate*> accels;
    std::map<std::pair<int, int>, const ImageResource*> images;
    ResourceTextHook hook = nullptr;
};

std::map<HINSTANCE, ModuleTables>& modules()
{
    static std::map<HINSTANCE, ModuleTables> m;
    return m;
}

ModuleTables* find_module(HINSTANCE h)
{
    auto it = modules().find(h);
    return it == modules().end() ? nullptr : &it->second;
}

struct LoadedImage {
    QImage image; // ARGB32
};

std::map<uint32_t, LoadedImage>& loaded()
{
    static std::map<uint32_t, LoadedImage> m;
    return m;
}
std::map<std::tuple<HINSTANCE, int, int>, uint32_t>& loaded_ids()
{
    static std::map<std::tuple<HINSTANCE, int, int>, uint32_t> m;
    return m;
}

QImage decode(const ImageResource& r)
{
    DibLayout l;
    if (r.size >= 2 && r.data[0] == 'B' && r.data[1] == 'M') {
        if (!ParseBmpFile(r.data, r.size, &l))
            return {};
        QImage img(l.width, l.height, QImage::Format_ARGB32);
        for (int y = 0; y < l.height; ++y)
            for (int x = 0; x < l.width; ++x) {
                const COLORREF c = DibPixel(r.data, l, x, y);
                img.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
            }
        return img;
    }
    QImage img = QImage::fromData(r.data, static_cast<int>(std::min<size_t>(r.size, INT32_MAX)));
    return img.isNull() ? img : img.convertToFormat(QImage::Format_ARGB32);
}

uint32_t load_image(HINSTANCE module, ImageKind kind, int id)
{
    const auto key = std::make_tuple(module, static_cast<int>(kind), id);
    if (auto it = loaded_ids().find(key); it != loaded_ids().end())
        return it->second;
    const ImageResource* r = FindImageResource(module, kind, id);
    if (!r)
        return 0;
    LoadedImage li;
    li.image = decode(*r);
    if (li.image.isNull())
        return 0;
    const uint32_t h = NextObjectHandle();
    loaded()[h] = std::move(li);
    loaded_ids()[key] = h;
    return h;
}

// The core asks here for the pictures of module cursors. A .BMP cursor has
// no mask of its own: its key colour, magenta, is the transparent part.
bool cursor_picture(HINSTANCE module, int id, QImage* image, QPoint* hotSpot)
{
    const ImageResource* r = FindImageResource(module, ImageKind::Cursor, id);
    if (!r)
        return false;
    QImage img = decode(*r);
    if (img.isNull())
        return false;
    // A .CUR file names its own hot spot.
    QPoint hot(r->hotX, r->hotY);
    if (r->size >= 14 && r->data[0] == 0 && r->data[1] == 0 && r->data[2] == 2)
        hot = QPoint(r->data[10] | (r->data[11] << 8), r->data[12] | (r->data[13] << 8));
    if (r->size >= 2 && r->data[0] == 'B' && r->data[1] == 'M')
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) == 0xFF00FF)
                    img.setPixel(x, y, 0);
    *image = std::move(img);
    *hotSpot = hot;
    return true;
}

const bool g_cursorSourceSet = (core::SetModuleCursorSource(cursor_picture), true);

} // namespace

namespace resources {

QImage IconImage(HICON icon)
{
    auto it = loaded().find(icon);
    return it == loaded().end() ? QImage() : it->second.image;
}

} // namespace resources

void RegisterDialogTemplates(HINSTANCE module, std::span<const DlgTemplate> dialogs)
{
    ModuleTables& m = modules()[module];
    for (const DlgTemplate& d : dialogs)
        m.dialogs[d.id] = &d;
}

void RegisterMenuTemplates(HINSTANCE module, std::span<const MenuTemplate> menus)
{
    ModuleTables& m = modules()[module];
    for (const MenuTemplate& t : menus)
        m.menus[t.id] = &t;
}

void RegisterAcceleratorTables(HINSTANCE module, std::span<const AccelTemplate> tables)
{
    ModuleTables& m = modules()[module];
    for (const AccelTemplate& t : tables)
        m.accels[t.id] = &t;
}

void RegisterImageResources(HINSTANCE module, std::span<const ImageResource> images)
{
    ModuleTables& m = modules()[module];
    for (const ImageResource& r : images) {
        m.images[{static_cast<int>(r.kind), r.id}] = &r;
        loaded_ids().erase(std::make_tuple(module, static_cast<int>(r.kind), r.id));
        if (r.kind == ImageKind::Cursor)
            core::ForgetModuleCursor(module, r.id);
    }
}

const DlgTemplate* FindDialogTemplate(HINSTANCE module, int id)
{
    ModuleTables* m = find_module(module);
    if (!m)
        return nullptr;
    auto it = m->dialogs.find(id);
    return it == m->dialogs.end() ? nullptr : it->second;
}

const MenuTemplate* FindMenuTemplate(HINSTANCE module, int id)
{
    ModuleTables* m = find_module(module);
    if (!m)
        return nullptr;
    auto it = m->menus.find(id);
    return it == m->menus.end() ? nullptr : it->second;
}

const AccelTemplate* FindAcceleratorTable(HINSTANCE module, int id)
{
    ModuleTables* m = find_module(module);
    if (!m)
        return nullptr;
    auto it = m->accels.find(id);
    return it == m->accels.end() ? nullptr : it->second;
}

const ImageResource* FindImageResource(HINSTANCE module, ImageKind kind, int id)
{
    ModuleTables* m = find_module(module);
    if (!m)
        return nullptr;
    auto it = m->images.find({static_cast<int>(kind), id});
    return it == m->images.end() ? nullptr : it->second;
}

void SetResourceTextHook(HINSTANCE module, ResourceTextHook hook) { modules()[module].hook = hook; }

const char* ResourceText(HINSTANCE module, const char* text)
{
    ModuleTables* m = find_module(module);
    if (!text || !m || !m->hook)
        return text;
    const char* t = m->hook(text);
    return t ? t : text;
}

HBITMAP LoadBitmap(HINSTANCE module, int id)
{
    const ImageResource* r = FindImageResource(module, ImageKind::Bitmap, id);
    if (!r)
        return 0;
    DibLayout l;
    if (ParseBmpFile(r->data, r->size, &l)) {
        // Exact colours as stored: every pixel through the DIB rules.
        const auto* info = reinterpret_cast<const BITMAPINFO*>(r->data + 14);
        BITMAPINFOHEADER h;
        if (!ReadBitmapInfoHeader(r->data + 14, r->size - 14, &h) && !l.core)
            return 0;
        QImage img(l.width, l.height, QImage::Format_RGB32);
        std::vector<BYTE> px(static_cast<size_t>(l.width) * 4 * static_cast<size_t>(l.height));
        for (int y = 0; y < l.height; ++y)
            for (int x = 0; x < l.width; ++x) {
                const COLORREF c = DibPixel(r->data, l, x, y);
                BYTE* o = px.data() + (static_cast<size_t>(y) * static_cast<size_t>(l.width) + static_cast<size_t>(x)) * 4;
                o[0] = GetBValue(c);
                o[1] = GetGValue(c);
                o[2] = GetRValue(c);
                o[3] = 0;
            }
        (void)info;
        return CreateBitmap(l.width, l.height, 1, 32, px.data());
    }
    const QImage img = decode(*r);
    if (img.isNull())
        return 0;
    std::vector<BYTE> px(static_cast<size_t>(img.width()) * 4 * static_cast<size_t>(img.height()));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            BYTE* o = px.data() + (static_cast<size_t>(y) * static_cast<size_t>(img.width()) + static_cast<size_t>(x)) * 4;
            o[0] = static_cast<BYTE>(qBlue(c));
            o[1] = static_cast<BYTE>(qGreen(c));
            o[2] = static_cast<BYTE>(qRed(c));
            o[3] = 0;
        }
    return CreateBitmap(img.width(), img.height(), 1, 32, px.data());
}

HICON LoadIcon(HINSTANCE module, int id) { return load_image(module, ImageKind::Icon, id); }

HCURSOR LoadModuleCursor(HINSTANCE module, int id)
{
    return module ? LoadCursor(module, static_cast<UINT>(id)) : 0;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon)
{
    auto it = loaded().find(icon);
    if (it == loaded().end())
        return FALSE;
    const QImage& img = it->second.image;
    for (int yy = 0; yy < img.height(); ++yy)
        for (int xx = 0; xx < img.width(); ++xx) {
            const QRgb px = img.pixel(xx, yy);
            if (qAlpha(px) >= 128)
                SetPixel(hdc, x + xx, y + yy, RGB(qRed(px), qGreen(px), qBlue(px)));
        }
    return TRUE;
}

} // namespace plat
