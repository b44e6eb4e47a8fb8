// The status line along the bottom of the view: a row of text fields.
#pragma once
#include "plat/fw/wnd.h"
#include <cstdint>
#include <vector>

class CStatusLine : public plat::CWnd {
public:
    static constexpr int FIELD_TEXT_MAX = 40;

    struct Field {
        uint32_t id;
        char text[FIELD_TEXT_MAX + 1];
        int width;
        int framed;
        plat::COLORREF color;
    };

    CStatusLine() = default;
    ~CStatusLine() override;
    const char* GetRuntimeClassName() const override { return "CStatusLine"; }

    // Texts longer than 40 characters are cut to 40.
    void AddField(uint32_t id, const char* text, int width, int framed, plat::COLORREF color);
    void SetFieldText(int index, const char* text, plat::COLORREF color);
    void Reposition();
    void GetFieldRect(int index, plat::RECT* out) const;
    int GetFieldCount() const { return static_cast<int>(m_fields.size()); }
    const Field* GetField(int index) const;

    int OnCreate(plat::CREATESTRUCT* cs) override;
    void OnPaint() override;

private:
    void DrawField(plat::HDC dc, int index) const;
    std::vector<Field*> m_fields;
};
