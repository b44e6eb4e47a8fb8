// Private to platform/src: how other layer modules make DCs over their own
// pixels (window surfaces now, printer pages later).
#pragma once
#include "plat/gdi.h"
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <memory>

namespace plat::detail {

// Pixels a DC draws into. The image is looked up for every primitive, since a
// window's surface is replaced on resize while a held DC stays valid. A null
// image (window gone, empty client area) makes every primitive draw nothing.
// The image must be QImage::Format_RGB32.
class DcTarget {
public:
    virtual ~DcTarget() = default;
    virtual QImage* image() = 0;
    // Rectangle just drawn, in image coordinates and within the image;
    // windows grow their dirty rectangle and schedule a flush from it.
    virtual void touched(const QRect& deviceRect) = 0;
    // Where device (0, 0) lies in the image.
    virtual QPoint origin() const { return {}; }
    // Answers for GetDeviceCaps(HORZRES/VERTRES/TECHNOLOGY/LOGPIXELS...);
    // 0 = the display's value.
    virtual int deviceCaps(int /*index*/) const { return 0; }
};

// A DC drawing through `target`. With a paint clip (device units, e.g. the
// update region for BeginPaint) nothing outside it is ever touched, whatever
// the program selects as its clip region. Returns 0 only if target is null.
HDC CreateTargetDC(std::shared_ptr<DcTarget> target, const QRegion* paintClip = nullptr);
// Ends a DC made by CreateTargetDC or CreateScreenDC; FALSE for any other handle.
BOOL ReleaseTargetDC(HDC hdc);
// The DC's target, or null when hdc is not a target DC.
DcTarget* TargetOf(HDC hdc);

// GetDC(NULL): a new DC over the desktop-sized screen image.
HDC CreateScreenDC();

// Primitives open a painter only for their own duration, so nothing stays
// open across a flush, resize or scroll. These are the points where a cached
// painter would have to close; callers invoke them before reading or
// replacing an image so that contract holds if caching comes later.
void EndPainting(QImage* image);
void EndAllPainting();

// The solid colour of a brush (system-colour brushes "COLOR_x + 1" included);
// false for a null/hollow/unknown brush.
bool BrushColor(HBRUSH brush, COLORREF* color);

// The QFont a font handle stands for (stock fonts included), after the face
// substitution and at its pixel size; false for an unknown handle.
bool FontOf(HFONT font, QFont* out);

QRgb ToQRgb(COLORREF c);
COLORREF FromQRgb(QRgb c);

} // namespace plat::detail
