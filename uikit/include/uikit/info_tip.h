// The information tip popup and the strip the indicator panes stand on.
#pragma once
#include "uikit/panel.h"
#include "plat/fw/wnd.h"
#include <cstdint>
#include <string>
#include <vector>

class CInfoTipWnd : public plat::CWnd {
public:
    static constexpr const char* CLASS_NAME = "VornInfoTip";

    CInfoTipWnd();
    ~CInfoTipWnd() override;
    const char* GetRuntimeClassName() const override { return "CInfoTipWnd"; }

    virtual plat::BOOL Create(plat::CWnd* owner);
    virtual void Hide();
    // Lines "label:value" separated by "\n"; the popup's bottom-left corner
    // goes to the point (screen coordinates). An empty text hides the tip.
    void ShowAt(plat::POINT pt, const char* text, int32_t tag);

    int32_t tag() const { return m_tag; }
    int32_t line_height() const { return m_lineHeight; }
    const std::string& text() const { return m_text; }

    int OnCreate(plat::CREATESTRUCT* cs) override;
    void OnPaint() override;
    void OnMouseMove(plat::UINT flags, plat::POINT pt) override;

    struct Line {
        std::string label; // up to and including the colon
        std::string value;
    };
    static std::vector<Line> split_lines(const std::string& text);

private:
    int32_t m_tag = 0;
    plat::HFONT m_bold = 0;
    plat::HFONT m_normal = 0;
    int32_t m_lineHeight = 0;
    std::string m_text;
};

class CPaneStrip : public CPanelWnd {
public:
    const char* GetRuntimeClassName() const override { return "CPaneStrip"; }
    void Reposition();
    int OnCreate(plat::CREATESTRUCT* cs) override;
    void OnPaint() override;
};
