// CWinApp: the one application object of a program.
//
// The program defines exactly one object derived from CWinApp at namespace
// scope.  The framework's WinMain initialises the common controls, fills
// m_hInstance and m_appName, and calls InitInstance; a program whose whole
// life is a modal dialog returns FALSE from it and the process ends.
#pragma once

#include <windows.h>
#include <string>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returns TRUE to enter Run's message loop, FALSE to exit at once.
    virtual BOOL InitInstance() { return FALSE; }
    virtual int Run();
    virtual int ExitInstance() { return 0; }

    HINSTANCE m_hInstance = nullptr;
    // The program file's base name without extension; caption of AfxMessageBox.
    std::string m_appName;
    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();

// A message box captioned with the application's name, owned by the
// active window of this thread if there is one.
int AfxMessageBox(const char* text, UINT type = MB_OK);

// Fills the application's name and instance; WinMain does it, tests may too.
void AfxInitApplication(HINSTANCE instance);
