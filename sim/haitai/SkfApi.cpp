// SKFAPI_HT20485.dll: the HaiTai smart-key interface library that the
// device library ships with.  Only device enumeration and connection are
// simulated; device names are the reader names.
#include "core/SimCall.h"

#include <windows.h>

#include <cstring>

using namespace sim;

namespace {

const char kModule[] = "SKFAPI_HT20485.dll";

enum : unsigned long { SAR_OK = 0, SAR_FAIL = 0x0A000001, SAR_INVALIDPARAMERR = 0x0A000006,
                       SAR_BUFFER_TOO_SMALL = 0x0A000020, SAR_DEVICE_REMOVED = 0x0A000023 };

}  // namespace

extern "C" {

unsigned long __stdcall SKF_EnumDev(int present, char* nameList, unsigned long* size)
{
    SimCall call(kModule, "SKF_EnumDev", Format("present=%d", present));
    if (call.Injected()) return call.InjectedCode();
    if (!size) return call.Return(SAR_INVALIDPARAMERR);
    std::string list;
    for (int slot = 1; slot <= call.scenario().SlotCount(Vendor::HaiTai); ++slot)
        if (!present || call.scenario().PluggedAt(Vendor::HaiTai, slot))
            list += ReaderName(Vendor::HaiTai, slot) + '\0';
    list += '\0';
    if (nameList && *size < list.size()) {
        *size = static_cast<unsigned long>(list.size());
        return call.Return(SAR_BUFFER_TOO_SMALL);
    }
    *size = static_cast<unsigned long>(list.size());
    if (nameList) std::memcpy(nameList, list.data(), list.size());
    return call.Return(SAR_OK, Format("size=%lu", *size));
}

unsigned long __stdcall SKF_ConnectDev(const char* name, void** device)
{
    SimCall call(kModule, "SKF_ConnectDev", std::string("name=") + (name ? name : "(null)"));
    if (call.Injected()) return call.InjectedCode();
    if (!name || !device) return call.Return(SAR_INVALIDPARAMERR);
    int slot = SlotOfReader(Vendor::HaiTai, name);
    if (!slot || !call.scenario().PluggedAt(Vendor::HaiTai, slot)) return call.Return(SAR_DEVICE_REMOVED);
    *device = reinterpret_cast<void*>(static_cast<INT_PTR>(slot));
    return call.Return(SAR_OK);
}

unsigned long __stdcall SKF_DisConnectDev(void* device)
{
    SimCall call(kModule, "SKF_DisConnectDev", Format("device=%d", static_cast<int>(reinterpret_cast<INT_PTR>(device))));
    if (call.Injected()) return call.InjectedCode();
    return call.Return(device ? SAR_OK : SAR_INVALIDPARAMERR);
}

}  // extern "C"
