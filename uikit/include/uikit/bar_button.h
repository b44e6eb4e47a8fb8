// Bitmaps from the program's resources, the program's own push button and
// its yellow hover tip.
#pragma once
#include "plat/fw/wnd.h"
#include "plat/fw/wrappers.h"
#include <string>

class CBitmapImage : public plat::CBitmap {
public:
    const char* GetRuntimeClassName() const override { return "CBitmapImage"; }
    plat::BOOL Load(int resourceId);
    // Copies the whole bitmap to (x, y).
    void Draw(plat::HDC dc, int x, int y, plat::DWORD rop) const;
    int GetWidth() const;
    int GetHeight() const;
};

class CBarButton;

// The hover tip: a small yellow child of the main frame above its button.
class CButtonTip : public plat::CWnd {
public:
    static constexpr int TIP_ID = 415;
    CButtonTip(CBarButton* button, const char* text);
    const char* GetRuntimeClassName() const override { return "CButtonTip"; }
    const std::string& text() const { return m_text; }
    void OnPaint() override;

private:
    std::string m_text;
};

class CBarButton : public plat::CWnd {
public:
    enum Kind { PUSH = 0, TOGGLE = 1 };
    enum State { UP = 0, DOWN = 1, DISABLED = 2 };

    CBarButton() = default;
    ~CBarButton() override;
    const char* GetRuntimeClassName() const override { return "CBarButton"; }

    plat::BOOL Create(plat::CWnd* parent, int commandId, const plat::RECT& rect, const char* caption,
                      const char* tooltip, int captionOffset);
    void SetToolTip(const char* text);
    plat::BOOL SetBitmap(int resourceId);
    plat::BOOL SetPressedBitmap(int resourceId);
    plat::BOOL SetDisabledBitmap(int resourceId);
    void SetState(int state);
    int GetState() const { return m_state; }
    plat::BOOL IsDown() const { return m_state == DOWN; }
    void SetTipText(const char* text);
    void SetBevelWidth(int pixels) { m_bevelWidth = pixels; }
    void SetFramed(plat::BOOL framed) { m_framed = framed; }
    void SetRounded(plat::BOOL rounded) { m_rounded = rounded; }
    void SetStyle(int style) { m_bevelStyle = style; }
    // Push or toggle; a radio toggle that is down stays down when clicked.
    void SetKind(int kind, plat::BOOL radio = plat::FALSE)
    {
        m_kind = kind;
        m_radio = radio;
    }
    void Resize(int width, int height, plat::BOOL redraw);
    void PostCommand();
    void ShowHoverTip();
    void HideHoverTip();

    // The width of a caption in the up face's font: what an owner needs to
    // place a caption by its offset.
    static int CaptionWidth(const char* caption);

    int GetCommandId() const { return m_commandId; }
    const char* GetCaption() const { return m_caption; }
    CButtonTip* GetHoverTip() const { return m_tip; }
    plat::HWND GetToolTipWnd() const { return m_tooltip; }

    void OnPaint() override;
    void OnLButtonDown(plat::UINT flags, plat::POINT pt) override;
    void OnLButtonUp(plat::UINT flags, plat::POINT pt) override;
    void OnMouseMove(plat::UINT flags, plat::POINT pt) override;
    void OnDestroy() override;

private:
    bool inside(plat::POINT pt) const;
    void draw_bevel(plat::HDC dc, plat::RECT rc, bool raised) const;
    void draw_caption(plat::HDC dc, plat::RECT rc, bool down) const;
    plat::BOOL load_face(CBitmapImage*& face, int resourceId);

    plat::CWnd* m_parent = nullptr;
    int m_commandId = 0;
    CButtonTip* m_tip = nullptr;
    std::string* m_tipText = nullptr;
    int m_tipSuppressed = 0;
    char m_caption[41] = {};
    int m_captionOffset = 0;
    int m_kind = PUSH;
    int m_bevelStyle = 0;
    int m_framed = 1;
    int m_rounded = 1;
    int m_bevelWidth = 2;
    CBitmapImage* m_normal = nullptr;
    CBitmapImage* m_pressed = nullptr;
    CBitmapImage* m_disabled = nullptr;
    int m_radio = 0;
    int m_tracking = 0;
    int m_state = UP;
    int m_stateAtPress = UP;
    plat::HWND m_tooltip = 0;
};
