// A vendor module that is not one: it has C_Initialize, C_Finalize and
// C_GetSlotList only.  It writes every load and call to "partial.log"
// beside itself, so a test sees whether it was loaded and what was called.
#include <windows.h>

#include <cstring>

namespace {

HMODULE g_self = nullptr;

void Note(const char* what)
{
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(g_self, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    char* slash = std::strrchr(path, '\\');
    if (!slash) return;
    std::strcpy(slash + 1, "partial.log");
    HANDLE f = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(f, what, static_cast<DWORD>(std::strlen(what)), &written, nullptr);
    ::WriteFile(f, "\n", 1, &written, nullptr);
    ::CloseHandle(f);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = instance;
        Note("attach");
    }
    return TRUE;
}

__declspec(dllexport) unsigned long __cdecl C_Initialize(void*)
{
    Note("C_Initialize");
    return 0;
}

__declspec(dllexport) unsigned long __cdecl C_Finalize(void*)
{
    Note("C_Finalize");
    return 0;
}

// One slot, with a token.
__declspec(dllexport) unsigned long __cdecl C_GetSlotList(unsigned char, unsigned long* slots,
                                                          unsigned long* count)
{
    Note("C_GetSlotList");
    if (slots && *count >= 1) slots[0] = 1;
    *count = 1;
    return 0;
}

}  // extern "C"
