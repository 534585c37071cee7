// CHaiTaiDevice: the process-wide binding of the HaiTai device library.
// It loads the vendor's libraries when it is constructed (before any window
// exists) and frees them at process exit.
#pragma once

#include <windows.h>

class CHaiTaiDevice {
public:
    CHaiTaiDevice();
    ~CHaiTaiDevice();
    CHaiTaiDevice(const CHaiTaiDevice&) = delete;
    CHaiTaiDevice& operator=(const CHaiTaiDevice&) = delete;

    // True when the device library offers every function the program calls.
    bool Bind();

private:
    HMODULE m_device = nullptr;
    HMODULE m_skf = nullptr;
};
