#include "app/Globals.h"
#include "app/TolvApp.h"
#include "token/HaiTaiDevice.h"
#include "token/KeyComm.h"

// Order matters: construction runs top to bottom, destruction bottom to top.
CTolvApp theApp;
CHaiTaiDevice g_haiTaiDevice;
CKeyComm g_keyComm;
std::string reminderText;
std::string g_strAppDir;
