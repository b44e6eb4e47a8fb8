// Fonts (face substitution, sizes, metrics) and text output: TextOut,
// ExtTextOut, DrawText, extents. Text is placed by the top of its cell.
#include "gdi/gdi_p.h"
#include "plat/config.h"
#include "text_qt_p.h"
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace plat::gdi {
namespace {

constexpr int DEFAULT_EM = 11; // 8 pt at 96 dpi

enum class Face { Sans, Serif, Mono };

Face face_for(const LOGFONT& lf)
{
    char lower[LF_FACESIZE] = {};
    for (int i = 0; i < LF_FACESIZE - 1 && lf.lfFaceName[i]; ++i)
        lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(lf.lfFaceName[i])));
    static constexpr const char* swiss[] = {"", "ms sans serif", "helvetica", "arial", "system", "small fonts"};
    static constexpr const char* roman[] = {"ms serif", "times new roman", "times"};
    static constexpr const char* fixed[] = {"courier", "courier new"};
    for (const char* f : swiss)
        if (std::strcmp(lower, f) == 0)
            return Face::Sans;
    for (const char* f : roman)
        if (std::strcmp(lower, f) == 0)
            return Face::Serif;
    for (const char* f : fixed)
        if (std::strcmp(lower, f) == 0)
            return Face::Mono;
    if ((lf.lfPitchAndFamily & 0x03) == FIXED_PITCH || (lf.lfPitchAndFamily & 0xF0) == FF_MODERN)
        return Face::Mono;
    if ((lf.lfPitchAndFamily & 0xF0) == FF_ROMAN)
        return Face::Serif;
    return Face::Sans;
}

QString family_for(Face face)
{
    static QString resolved[3];
    static bool checked[3] = {};
    const int i = static_cast<int>(face);
    if (!checked[i]) {
        static const char* const liberation[] = {"Liberation Sans", "Liberation Serif", "Liberation Mono"};
        static const char* const dejavu[] = {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono"};
        resolved[i] = QString::fromLatin1(liberation[i]);
        if (!QFontDatabase::hasFamily(resolved[i])) {
            std::fprintf(stderr, "platform: font \"%s\" missing, using \"%s\"\n", liberation[i], dejavu[i]);
            resolved[i] = QString::fromLatin1(dejavu[i]);
        }
        checked[i] = true;
    }
    return resolved[i];
}

QFont make_qfont(const LOGFONT& lf, int em)
{
    QFont f(family_for(face_for(lf)));
    f.setPixelSize(std::max(1, em));
    f.setWeight(lf.lfWeight >= FW_SEMIBOLD ? QFont::Bold : QFont::Normal);
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    return f;
}

FontMetricsCache measure(const QFont& f, int em)
{
    const QFontMetrics fm(f);
    FontMetricsCache m;
    m.ascent = fm.ascent();
    m.descent = fm.descent();
    m.em = em;
    m.leading = std::max(0, fm.leading());
    m.aveWidth = fm.averageCharWidth();
    m.maxWidth = fm.maxWidth();
    return m;
}

void ensure_gui()
{
    static bool done = false;
    if (!done) {
        InitGui();
        done = true;
    }
}

// Logical <-> device lengths for measurements handed back to the caller.
int to_logical_x(const DcState& st, int v)
{
    if (st.mapMode == MM_TEXT || st.vExt.cx == 0)
        return v;
    return static_cast<int>(std::lround(double(v) * std::abs(st.wExt.cx) / std::abs(st.vExt.cx)));
}
int to_logical_y(const DcState& st, int v)
{
    if (st.mapMode == MM_TEXT || st.vExt.cy == 0)
        return v;
    return static_cast<int>(std::lround(double(v) * std::abs(st.wExt.cy) / std::abs(st.vExt.cy)));
}

int text_width(const QFont& f, const QString& s) { return QFontMetrics(f).horizontalAdvance(s); }

QRegion clip_region(const Surface& s)
{
    QRegion r;
    r.setRects(s.clip->data(), static_cast<int>(s.clip->size()));
    return r;
}

struct TextJob {
    QString text;
    std::vector<int> dx; // device advances per character, empty = the font's
    int extent = 0;
};

// Draws one run with its reference point at `ref` (image coordinates),
// aligned by `align`, turned by the font's escapement about the reference.
// With fillCell the cell is painted in the background colour first.
void draw_run(Surface& s, const DcState& st, const Font::Resolved& rf, const LOGFONT& lf, QPoint ref,
              UINT align, const TextJob& job, bool fillCell, const QRect* clipRect, QRect& touched)
{
    const int height = rf.m.ascent + rf.m.descent;
    int x0 = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        x0 = -job.extent / 2;
    else if (align & TA_RIGHT)
        x0 = -job.extent;
    int top = 0;
    if ((align & TA_BASELINE) == TA_BASELINE)
        top = -rf.m.ascent;
    else if (align & TA_BOTTOM)
        top = -height;

    const uint32_t textPx = s.mono ? SnapMono(Rgb(st.text)) : Rgb(st.text);
    const uint32_t bkPx = s.mono ? SnapMono(Rgb(st.bk)) : Rgb(st.bk);
    const int esc = lf.lfEscapement % 3600;

    QTransform t;
    t.translate(ref.x(), ref.y());
    if (esc != 0)
        t.rotate(-esc / 10.0);
    const QRect cell(x0, top, job.extent, height);
    // Ink may pass the cell (italics, overhangs); report a margin with it.
    const QRect ink = cell.adjusted(-rf.m.em / 2, 0, rf.m.em / 2, 0);
    QRect mapped = t.mapRect(ink).intersected(s.clipBounds);
    if (clipRect)
        mapped &= *clipRect;
    if (mapped.isEmpty() && !fillCell)
        return;

    if (fillCell && esc == 0) {
        Paint p;
        p.color = bkPx;
        const QRect c = clipRect ? cell.translated(ref).intersected(*clipRect) : cell.translated(ref);
        FillRectImage(s, c, p);
    }
    QPainter painter(s.img);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    QRegion clip = clip_region(s);
    if (clipRect)
        clip &= *clipRect;
    painter.setClipRegion(clip);
    painter.setTransform(t);
    if (fillCell && esc != 0)
        painter.fillRect(cell, QColor::fromRgb(bkPx));
    painter.setFont(rf.font);
    painter.setPen(QColor::fromRgb(textPx));
    const int baseline = top + rf.m.ascent;
    if (job.dx.empty()) {
        painter.drawText(QPoint(x0, baseline), job.text);
    } else {
        int x = x0;
        for (qsizetype i = 0; i < job.text.size(); ++i) {
            painter.drawText(QPoint(x, baseline), QString(job.text.at(i)));
            x += job.dx[static_cast<size_t>(i)];
        }
    }
    painter.end();
    touched |= mapped;
}

TextJob make_job(const DcState& st, const Font::Resolved& rf, const QString& text, const INT* dx)
{
    TextJob job;
    job.text = text;
    if (dx) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const int d = dx[i] < 0 ? -ScaleX(st, dx[i]) : ScaleX(st, dx[i]);
            job.dx.push_back(d);
            job.extent += d;
        }
    } else {
        job.extent = text_width(rf.font, text);
    }
    return job;
}

int text_length(const char* text, int length)
{
    if (!text)
        return 0;
    return length < 0 ? static_cast<int>(std::strlen(text)) : length;
}

} // namespace

QString FromAnsi(const char* text, int length)
{
    if (!text || length <= 0)
        return QString();
    return qstr_from_ansi(std::string_view(text, static_cast<size_t>(length)));
}

const Font::Resolved& ResolveFont(Font& f, const DcState& st)
{
    ensure_gui();
    const LONG h = f.lf.lfHeight;
    const int dev = h < 0 ? -ScaleY(st, -h) : ScaleY(st, h);
    for (const auto& r : f.resolved)
        if (r.deviceHeight == dev)
            return r;
    Font::Resolved r;
    r.deviceHeight = dev;
    int em = DEFAULT_EM;
    if (dev < 0) {
        em = -dev;
    } else if (dev > 0) {
        // A positive height is the whole cell: the largest em whose ascent +
        // descent still fits.
        em = std::max(1, dev * 7 / 8);
        auto cell = [&](int e) {
            const QFontMetrics fm(make_qfont(f.lf, e));
            return fm.ascent() + fm.descent();
        };
        while (em < dev && cell(em + 1) <= dev)
            ++em;
        while (em > 1 && cell(em) > dev)
            --em;
    }
    r.font = make_qfont(f.lf, em);
    r.m = measure(r.font, em);
    f.resolved.push_back(std::move(r));
    return f.resolved.back();
}

} // namespace plat::gdi

namespace plat::detail {
bool FontOf(HFONT font, QFont* out)
{
    auto f = gdi::Find<gdi::Font>(font, gdi::Kind::Font);
    if (!f)
        return false;
    if (out)
        *out = gdi::ResolveFont(*f, gdi::DcState{}).font;
    return true;
}
} // namespace plat::detail

namespace plat {
using namespace gdi;

BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rc, const char* text, UINT length,
                const INT* dx)
{
    Dc* dc = FindDc(hdc);
    if (!dc || (length > 0 && !text) || length > 0x7FFFFFFF)
        return FALSE;
    Surface s = Acquire(*dc);
    if (!s.ok())
        return TRUE;
    QRect touched;
    QRect box;
    if (rc) {
        POINT a = ToDevice(dc->st, rc->left, rc->top), b = ToDevice(dc->st, rc->right, rc->bottom);
        box = QRect(QPoint(std::min(a.x, b.x), std::min(a.y, b.y)) + s.origin,
                    QSize(std::abs(b.x - a.x), std::abs(b.y - a.y)));
        if (options & ETO_OPAQUE) {
            Paint p;
            p.color = s.mono ? SnapMono(Rgb(dc->st.bk)) : Rgb(dc->st.bk);
            FillRectImage(s, box, p);
            touched |= box.intersected(s.clipBounds);
        }
    }
    if (length > 0) {
        const auto& rf = ResolveFont(*dc->st.font, dc->st);
        const TextJob job = make_job(dc->st, rf, FromAnsi(text, static_cast<int>(length)), dx);
        const bool updateCp = dc->st.align & TA_UPDATECP;
        const POINT refL = updateCp ? dc->st.cp : POINT{x, y};
        const POINT ref = ToDevice(dc->st, refL.x, refL.y);
        const bool clipped = rc && (options & ETO_CLIPPED);
        draw_run(s, dc->st, rf, dc->st.font->lf, QPoint(ref.x, ref.y) + s.origin, dc->st.align, job,
                 dc->st.bkMode == OPAQUE, clipped ? &box : nullptr, touched);
        if (updateCp)
            dc->st.cp.x += to_logical_x(dc->st, job.extent);
    }
    Touched(s, touched);
    return TRUE;
}

BOOL TextOut(HDC hdc, int x, int y, const char* text, int length)
{
    if (length < 0)
        return FALSE;
    return ExtTextOut(hdc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}

BOOL GetTextExtentPoint32(HDC hdc, const char* text, int length, SIZE* size)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !size || length < 0 || (length > 0 && !text))
        return FALSE;
    const auto& rf = ResolveFont(*dc->st.font, dc->st);
    const int w = length > 0 ? text_width(rf.font, FromAnsi(text, length)) : 0;
    size->cx = to_logical_x(dc->st, w);
    size->cy = to_logical_y(dc->st, rf.m.ascent + rf.m.descent);
    return TRUE;
}

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* tm)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !tm)
        return FALSE;
    const Font& font = *dc->st.font;
    const auto& rf = ResolveFont(*dc->st.font, dc->st);
    const DcState& st = dc->st;
    *tm = TEXTMETRIC{};
    const int height = rf.m.ascent + rf.m.descent;
    tm->tmHeight = to_logical_y(st, height);
    tm->tmAscent = to_logical_y(st, rf.m.ascent);
    tm->tmDescent = tm->tmHeight - tm->tmAscent;
    tm->tmInternalLeading = to_logical_y(st, std::max(0, height - rf.m.em));
    tm->tmExternalLeading = to_logical_y(st, rf.m.leading);
    tm->tmAveCharWidth = to_logical_x(st, rf.m.aveWidth);
    tm->tmMaxCharWidth = to_logical_x(st, rf.m.maxWidth);
    tm->tmWeight = font.lf.lfWeight >= FW_SEMIBOLD ? FW_BOLD : FW_NORMAL;
    tm->tmDigitizedAspectX = SCREEN_DPI;
    tm->tmDigitizedAspectY = SCREEN_DPI;
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = 0xFF;
    tm->tmDefaultChar = 0x1F;
    tm->tmBreakChar = 0x20;
    tm->tmItalic = font.lf.lfItalic ? 1 : 0;
    tm->tmUnderlined = font.lf.lfUnderline ? 1 : 0;
    tm->tmStruckOut = font.lf.lfStrikeOut ? 1 : 0;
    const bool fixed = QFontMetrics(rf.font).horizontalAdvance(QLatin1Char('i')) ==
                       QFontMetrics(rf.font).horizontalAdvance(QLatin1Char('W'));
    const Face face = face_for(font.lf);
    const BYTE family = face == Face::Mono ? FF_MODERN : face == Face::Serif ? FF_ROMAN : FF_SWISS;
    tm->tmPitchAndFamily = static_cast<BYTE>(family | TMPF_TRUETYPE | TMPF_VECTOR | (fixed ? 0 : TMPF_FIXED_PITCH));
    tm->tmCharSet = ANSI_CHARSET;
    return TRUE;
}

int GetTextFace(HDC hdc, int size, char* face)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return 0;
    const char* name = dc->st.font->lf.lfFaceName;
    const int len = static_cast<int>(strnlen(name, LF_FACESIZE - 1));
    if (!face)
        return len + 1;
    if (size <= 0)
        return 0;
    const int n = std::min(len, size - 1);
    std::memcpy(face, name, static_cast<size_t>(n));
    face[n] = '\0';
    return n;
}

namespace {

struct Line {
    QString text;
    int underline = -1; // index of the mnemonic character, -1 = none
};

// '&' marks the next character as the mnemonic; "&&" is a literal '&'.
Line strip_prefix(const QString& in, bool noPrefix)
{
    Line l;
    if (noPrefix) {
        l.text = in;
        return l;
    }
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in.at(i) == QLatin1Char('&') && i + 1 < in.size()) {
            ++i;
            if (in.at(i) != QLatin1Char('&'))
                l.underline = static_cast<int>(l.text.size());
        } else if (in.at(i) == QLatin1Char('&')) {
            continue;
        }
        l.text.append(in.at(i));
    }
    return l;
}

std::vector<Line> layout_lines(const QString& all, UINT fmt, const QFont& font, int maxWidth)
{
    std::vector<QString> raw;
    if (fmt & DT_SINGLELINE) {
        raw.push_back(all);
    } else {
        QString cur;
        for (qsizetype i = 0; i < all.size(); ++i) {
            const QChar c = all.at(i);
            if (c == QLatin1Char('\r')) {
                raw.push_back(cur);
                cur.clear();
                if (i + 1 < all.size() && all.at(i + 1) == QLatin1Char('\n'))
                    ++i;
            } else if (c == QLatin1Char('\n')) {
                raw.push_back(cur);
                cur.clear();
            } else {
                cur.append(c);
            }
        }
        raw.push_back(cur);
    }
    std::vector<Line> lines;
    for (const QString& r : raw) {
        if (!(fmt & DT_WORDBREAK) || (fmt & DT_SINGLELINE)) {
            lines.push_back(strip_prefix(r, fmt & DT_NOPREFIX));
            continue;
        }
        // Break at spaces; a word wider than the box stays whole on its line.
        QString cur;
        qsizetype i = 0;
        while (i < r.size()) {
            qsizetype j = i;
            while (j < r.size() && r.at(j) == QLatin1Char(' '))
                ++j;
            while (j < r.size() && r.at(j) != QLatin1Char(' '))
                ++j;
            const QString word = r.mid(i, j - i);
            const QString candidate = cur + word;
            if (!cur.isEmpty() && text_width(font, strip_prefix(candidate, fmt & DT_NOPREFIX).text) > maxWidth) {
                lines.push_back(strip_prefix(cur, fmt & DT_NOPREFIX));
                cur = word;
                while (!cur.isEmpty() && cur.front() == QLatin1Char(' '))
                    cur.remove(0, 1);
            } else {
                cur = candidate;
            }
            i = j;
        }
        lines.push_back(strip_prefix(cur, fmt & DT_NOPREFIX));
    }
    return lines;
}

} // namespace

int DrawText(HDC hdc, const char* text, int length, RECT* rc, UINT format)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !rc || (!text && length != 0))
        return 0;
    const int len = text_length(text, length);
    const auto& rf = ResolveFont(*dc->st.font, dc->st);
    POINT a = ToDevice(dc->st, rc->left, rc->top), b = ToDevice(dc->st, rc->right, rc->bottom);
    const QRect dev(QPoint(a.x, a.y), QPoint(b.x - 1, b.y - 1));
    const int lineH = rf.m.ascent + rf.m.descent;
    const auto lines = layout_lines(FromAnsi(text, len), format, rf.font, dev.width());
    std::vector<int> widths;
    int maxW = 0;
    for (const Line& l : lines) {
        widths.push_back(text_width(rf.font, l.text));
        maxW = std::max(maxW, widths.back());
    }
    const int totalH = lineH * static_cast<int>(lines.size());
    if (format & DT_CALCRECT) {
        rc->right = rc->left + to_logical_x(dc->st, maxW);
        rc->bottom = rc->top + to_logical_y(dc->st, totalH);
        return to_logical_y(dc->st, totalH);
    }
    int y = dev.top();
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = dev.top() + (dev.height() - lineH) / 2;
        else if (format & DT_BOTTOM)
            y = dev.top() + dev.height() - lineH;
    }
    Surface s = Acquire(*dc);
    if (s.ok()) {
        QRect touched;
        const QRect clipBox = dev.translated(s.origin);
        const bool clip = !(format & DT_NOCLIP);
        LOGFONT flat = dc->st.font->lf;
        flat.lfEscapement = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            const int w = widths[i];
            int x = dev.left();
            if (format & DT_CENTER)
                x = dev.left() + (dev.width() - w) / 2;
            else if (format & DT_RIGHT)
                x = dev.left() + dev.width() - w;
            const int ly = y + lineH * static_cast<int>(i);
            TextJob job;
            job.text = lines[i].text;
            job.extent = w;
            const QPoint ref = QPoint(x, ly) + s.origin;
            draw_run(s, dc->st, rf, flat, ref, TA_LEFT | TA_TOP, job, dc->st.bkMode == OPAQUE,
                     clip ? &clipBox : nullptr, touched);
            if (lines[i].underline >= 0 && lines[i].underline < job.text.size()) {
                const int u0 = text_width(rf.font, job.text.left(lines[i].underline));
                const int uw = text_width(rf.font, job.text.mid(lines[i].underline, 1));
                Paint p;
                p.color = s.mono ? SnapMono(Rgb(dc->st.text)) : Rgb(dc->st.text);
                QRect u(ref.x() + u0, ref.y() + rf.m.ascent + 1, uw, 1);
                if (clip)
                    u &= clipBox;
                FillRectImage(s, u, p);
            }
        }
        Touched(s, touched);
    }
    const int result = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))
                           ? (y - dev.top()) + lineH
                           : totalH;
    return to_logical_y(dc->st, result);
}

} // namespace plat
