#include "ui/App.h"
#include "ui/Wnd.h"

#include <commctrl.h>

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp()
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this) g_app = nullptr;
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

HINSTANCE AfxGetInstanceHandle()
{
    return (g_app && g_app->m_hInstance) ? g_app->m_hInstance : ::GetModuleHandleA(nullptr);
}

int AfxMessageBox(const char* text, UINT type)
{
    HWND owner = ::GetActiveWindow();
    const char* caption = (g_app && !g_app->m_appName.empty()) ? g_app->m_appName.c_str() : nullptr;
    return ::MessageBoxA(owner, text, caption, type);
}

void AfxInitApplication(HINSTANCE instance)
{
    if (!g_app) return;
    g_app->m_hInstance = instance;
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(instance, path, MAX_PATH);
    std::string name = path;
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    g_app->m_appName = name;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // Dialog templates name common-control classes (SysListView32 ...).
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    AfxInitApplication(instance);
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
