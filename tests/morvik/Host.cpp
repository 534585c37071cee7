// A small client program: creates Morvik.GetSerial by its ProgID, calls
// GetNum with its argument and prints "[result]".  Tests copy it into a
// folder of their own to control its program folder.  Exit code 0 when the
// call went through, 2 otherwise.
#include "Morvik_h.h"

#include <ole2.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int exitCode = 2;
    CLSID clsid;
    IGetSerial* object = nullptr;
    if (SUCCEEDED(::CLSIDFromProgID(L"Morvik.GetSerial", &clsid)) &&
        SUCCEEDED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IGetSerial),
                                     reinterpret_cast<void**>(&object)))) {
        int n = ::MultiByteToWideChar(CP_ACP, 0, argv[1], -1, nullptr, 0);
        std::wstring name(n > 0 ? n - 1 : 0, L'\0');
        if (n > 1) ::MultiByteToWideChar(CP_ACP, 0, argv[1], -1, &name[0], n);
        BSTR in = ::SysAllocString(name.c_str());
        BSTR out = nullptr;
        if (SUCCEEDED(object->GetNum(in, &out))) {
            std::printf("[%ls]\n", out ? out : L"");
            exitCode = 0;
        }
        ::SysFreeString(in);
        ::SysFreeString(out);
        object->Release();
    }
    ::CoUninitialize();
    return exitCode;
}
