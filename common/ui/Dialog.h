// CDialog: a dialog created from a resource template, modal or modeless.
//
// Modal dialogs run the framework's own modal loop (RunModalLoop), which
// gives every message to PreTranslateMessage of the windows it is addressed
// to, child first, before dispatching it.  A dialog's default pre-translation
// is the system's dialog keyboard handling (IsDialogMessage).
//
// The loop shows a dialog that is still hidden when the queue first runs
// empty, and it ends on EndDialog or on WM_QUIT, which it posts again so
// that every enclosing loop ends too.
#pragma once

#include "ui/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr)
        : m_templateId(templateId), m_parent(parent) {}

    // Runs the dialog modally; returns the EndDialog result, or -1 when the
    // dialog could not be created or the loop ended by WM_QUIT.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless.  Without a parent the application's main
    // window becomes its owner.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(INT_PTR result);

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // Called from WM_INITDIALOG once the window is bound.  The base runs
    // DoDataExchange and returns TRUE (default focus).
    virtual BOOL OnInitDialog();
    // Binds controls of the template to their wrapper objects.
    virtual void DoDataExchange() {}
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

    UINT m_templateId;
    CWnd* m_parent;

private:
    static INT_PTR CALLBACK StartDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR RunModalLoop();

    bool m_inModalLoop = false;
    INT_PTR m_modalResult = -1;
};

// Walks from the message's window up to the top and asks every bound window
// to pre-translate it.  Returns TRUE when one consumed it.
BOOL WalkPreTranslateTree(MSG* msg);
