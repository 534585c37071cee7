// Process-wide objects of TOLV.  They are defined in one file, in this
// order, so that they are constructed in it before InitInstance and
// destroyed in reverse order after it.
#pragma once

#include <string>

class CTolvApp;
class CHaiTaiDevice;
class CKeyComm;

extern CTolvApp theApp;
extern CHaiTaiDevice g_haiTaiDevice;
extern CKeyComm g_keyComm;
// Expiry checks read the reminder period into this buffer.
extern std::string reminderText;
// Folder of the running program without a trailing backslash; set once by
// the main window before the worker threads start.
extern std::string g_strAppDir;
