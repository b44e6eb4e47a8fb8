// Dialog bases: the simulator's modal dialog (font, centring, translation,
// registration with the view) and the self-deleting modeless dialog.
#pragma once
#include "plat/fw/dialog.h"
#include <cstdint>
#include <memory>
#include <vector>

// What a dialog needs of the view. The view keeps a stack of open dialogs:
// the current dialog is its top, and a dialog that closes takes only itself
// off, so an outer dialog stays recorded when an inner one closes.
class DialogRegistry {
public:
    virtual ~DialogRegistry() = default;
    virtual bool session_open() const = 0;
    virtual bool show_ids() const = 0;
    virtual void push_dialog(plat::HWND dialog) = 0;
    virtual void remove_dialog(plat::HWND dialog) = 0;
};

// The stack itself, for a view to keep.
class DialogStack {
public:
    void push(plat::HWND dialog);
    void remove(plat::HWND dialog);
    plat::HWND top() const { return m_dialogs.empty() ? 0 : m_dialogs.back(); }
    bool contains(plat::HWND dialog) const;
    const std::vector<plat::HWND>& all() const { return m_dialogs; }

private:
    std::vector<plat::HWND> m_dialogs;
};

// Where dialogs made without an explicit view find it (the application sets
// this once: the running view, or none).
void set_dialog_registry_source(DialogRegistry* (*source)());
DialogRegistry* current_dialog_registry();

// Top-left corner of a w x h window centred on the desktop, or in the part
// right of the indicator panes while a session is open.
plat::POINT sim_dialog_position(const plat::RECT& desktop, int w, int h, bool sessionOpen);

class CSimDialog : public plat::CDialog {
public:
    static constexpr int MAX_IDS = 50;

    CSimDialog(int templateId, DialogRegistry* view, plat::CWnd* parent);
    ~CSimDialog() override;
    const char* GetRuntimeClassName() const override { return "CSimDialog"; }

    plat::BOOL OnInitDialog() override;
    void CenterOnScreen();
    void AddTextId(int32_t id);
    void AddActionId(int32_t id);
    plat::BOOL HasActionId(int32_t id) const;
    void SelectGraphicsView();
    DialogRegistry* view() const { return m_view; }
    plat::HFONT dialog_font() const { return m_font; }
    int text_id_count() const { return m_textIdCount; }
    int action_id_count() const { return m_actionIdCount; }

    int OnCreate(plat::CREATESTRUCT* cs) override;
    void OnDestroy() override;
    void OnMouseMove(plat::UINT flags, plat::POINT pt) override;
    plat::BOOL OnMessage(plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam, plat::LRESULT& result) override;

protected:
    plat::HFONT m_font = 0;
    int32_t m_textIds[MAX_IDS] = {};
    int16_t m_textIdCount = 0;
    int32_t m_actionIds[MAX_IDS] = {};
    int32_t m_actionIdCount = 0;
    DialogRegistry* m_view;
};

// Created in its constructor; destroys its window on Cancel and deletes
// itself when the window is gone. Keep it through a ModelessPtr.
class CModelessDialog : public plat::CDialog {
public:
    CModelessDialog(int templateId, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CModelessDialog"; }
    void PostNcDestroy() override;
    void OnCancel() override;
    std::weak_ptr<const bool> life_token() const { return m_alive; }

private:
    std::shared_ptr<const bool> m_alive = std::make_shared<const bool>(true);
};

// A pointer to a modeless dialog that reads null once the dialog is gone.
template <class T>
class ModelessPtr {
public:
    ModelessPtr() = default;
    explicit ModelessPtr(T* dialog) : m_dialog(dialog)
    {
        if (dialog != nullptr)
            m_token = dialog->life_token();
    }
    T* get() const { return m_token.expired() ? nullptr : m_dialog; }
    T* operator->() const { return get(); }
    explicit operator bool() const { return get() != nullptr; }

private:
    T* m_dialog = nullptr;
    std::weak_ptr<const bool> m_token;
};
