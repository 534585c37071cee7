// The application object: single-instance rule and the modal main window.
#pragma once

#include "ui/App.h"

class CTolvApp : public CWinApp {
public:
    CTolvApp() = default;
    ~CTolvApp() override;

    // Always FALSE: the whole program runs inside the main window's modal
    // loop, and the process ends when it returns.
    BOOL InitInstance() override;

private:
    // Another copy holds the mutex: bring its main window to the front.
    void ActivateRunningCopy();
};
