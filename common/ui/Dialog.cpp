#include "ui/Dialog.h"
#include "ui/App.h"

namespace {

HWND DefaultOwner(const CWnd* self, const CWnd* parent)
{
    if (parent) return parent->m_hWnd;
    CWnd* main = AfxGetMainWnd();
    if (main && main != self && ::IsWindow(main->m_hWnd)) return main->m_hWnd;
    return nullptr;
}

}  // namespace

BOOL WalkPreTranslateTree(MSG* msg)
{
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = CWnd::FromHandle(hwnd);
        if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK CDialog::StartDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg != WM_INITDIALOG) return FALSE;  // all else: the system's dialog defaults
    auto* dlg = reinterpret_cast<CDialog*>(lp);
    if (!dlg || !dlg->Bind(hwnd)) return TRUE;
    try {
        return dlg->OnInitDialog();
    } catch (...) {
        return TRUE;
    }
}

BOOL CDialog::OnInitDialog()
{
    DoDataExchange();
    return TRUE;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_templateId = templateId;
    if (parent) m_parent = parent;
    HWND hwnd = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(templateId),
                                     DefaultOwner(this, m_parent), &CDialog::StartDialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

INT_PTR CDialog::DoModal()
{
    HWND owner = DefaultOwner(this, m_parent);
    // The owner is disabled while the dialog runs, as for any modal dialog.
    bool enableOwner = false;
    if (owner && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        enableOwner = true;
    }

    m_modalResult = -1;
    HWND hwnd = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_templateId), owner,
                                     &CDialog::StartDialogProc, reinterpret_cast<LPARAM>(this));
    if (hwnd && m_hWnd)
        RunModalLoop();

    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (enableOwner) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
    DestroyWindow();
    return m_modalResult;
}

INT_PTR CDialog::RunModalLoop()
{
    m_inModalLoop = true;
    bool showWhenIdle = !(::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_VISIBLE);
    MSG msg;
    while (m_inModalLoop) {
        if (showWhenIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
            ::UpdateWindow(m_hWnd);
            showWhenIdle = false;
        }
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // WM_QUIT: end this loop and let the enclosing ones see it too.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_inModalLoop = false;
            m_modalResult = -1;
            break;
        }
        if (!WalkPreTranslateTree(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return m_modalResult;
}

void CDialog::EndDialog(INT_PTR result)
{
    if (m_inModalLoop) {
        m_modalResult = result;
        m_inModalLoop = false;
        // Wake the loop in case the request came from outside a message.
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
    if (m_hWnd) ::EndDialog(m_hWnd, result);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
    if (!m_hWnd) return FALSE;
    // Only messages for this dialog or its controls.
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return FALSE;
    return ::IsDialogMessageA(m_hWnd, msg);
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT result = 0;
    if (Dispatch(msg, wp, lp, result)) return result;
    // Enter and Escape (and WM_CLOSE, which the system turns into IDCANCEL)
    // end a dialog unless its class decides otherwise.
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        if (LOWORD(wp) == IDOK) { OnOK(); return 0; }
        if (LOWORD(wp) == IDCANCEL) { OnCancel(); return 0; }
    }
    return Default();
}
