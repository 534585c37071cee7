// CSkinBtn: an owner-drawn push button that shows one of three pictures
// (normal, hover, pressed) over a snapshot of what its parent painted under
// it, so that it blends into the skin.  A page button can be held in the
// pressed picture with m_bSelected.
//
// Create it like any button (CButton::Create with an empty caption), then
// give it its pictures with SetBitmaps.  Clicks reach the parent as
// ordinary BN_CLICKED commands.
#pragma once

#include "ui/Controls.h"

class CSkinBtn : public CButton {
public:
    CSkinBtn() = default;
    ~CSkinBtn() override;

    // Bitmap resource ids; the normal picture also serves the disabled state.
    void SetBitmaps(UINT normal, UINT hover, UINT pressed);

    // Keep the pressed picture whatever the mouse does; written by the owner,
    // who then invalidates the button.
    BOOL m_bSelected = FALSE;

    static const char* RuntimeClassName() { return "CSkinBtn"; }

protected:
    void PreSubclassWindow() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

    void DrawItem(const DRAWITEMSTRUCT& dis);

private:
    enum State { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };
    static const UINT_PTR kHoverTimer = 1;
    static const UINT kHoverPeriodMs = 10;

    void Draw();
    void OnMouseMove();
    void OnTimer(UINT_PTR id);
    void OnEraseBkgnd(HDC hdc);
    bool CursorInside() const;
    HBITMAP PictureForState() const;

    HBITMAP m_bmpNormal = nullptr;
    HBITMAP m_bmpHover = nullptr;
    HBITMAP m_bmpPressed = nullptr;
    HBITMAP m_bmpDisabled = nullptr;
    int m_state = Normal;
    bool m_hovering = false;
    bool m_enabled = true;
    bool m_backgroundCaptured = false;
    HDC m_snapshotDC = nullptr;
    HBITMAP m_snapshotBitmap = nullptr;
    HGDIOBJ m_snapshotOld = nullptr;
};
