// The HaiTai device library: its reader list, device state and the
// callbacks its own thread calls when a token is plugged or pulled.
#include "harness/Check.h"
#include "sim/SimWorkstation.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using ListReadersFn = int(__stdcall*)(char*, unsigned long*, unsigned long*);
using DevChgCallback = int(__stdcall*)(void*);
using SetDevChgEventFn = int(__stdcall*)(const char*, DevChgCallback, DevChgCallback, void*, int);
using GetDevStateFn = int(__stdcall*)(const char*, unsigned long*);

volatile LONG g_inserts = 0, g_removes = 0;
void* volatile g_param = nullptr;
int __stdcall OnInsert(void* p) { g_param = p; ::InterlockedIncrement(&g_inserts); return 0; }
int __stdcall OnRemove(void* p) { g_param = p; ::InterlockedIncrement(&g_removes); return 0; }

bool WaitFor(volatile LONG* counter, LONG value)
{
    for (int i = 0; i < 40 && *counter < value; ++i) ::Sleep(50);
    return *counter >= value;
}

}  // namespace

TEST(DeviceLib_ReadersStateAndCallbacks)
{
    sim::Scenario s;
    s.tokens.push_back(simtest::MakeToken("ht1", sim::Vendor::HaiTai, 2, false));
    simtest::Reset(s);
    HMODULE lib = ::LoadLibraryA("GEA20485.dll");
    CHECK(lib);
    if (!lib) return;
    auto listReaders = reinterpret_cast<ListReadersFn>(::GetProcAddress(lib, "HSListReaders"));
    auto setEvent = reinterpret_cast<SetDevChgEventFn>(::GetProcAddress(lib, "HSSetDevChgEvent"));
    auto getState = reinterpret_cast<GetDevStateFn>(::GetProcAddress(lib, "HSGetDevState"));
    CHECK(listReaders && setEvent && getState);
    if (!listReaders || !setEvent || !getState) return;

    unsigned long length = 0, ignored = 0;
    CHECK_EQ(listReaders(nullptr, &length, &ignored), 0);
    std::vector<char> list(length);
    CHECK_EQ(listReaders(list.data(), &length, &ignored), 0);
    std::vector<std::string> readers;
    for (const char* p = list.data(); *p; p += std::strlen(p) + 1) readers.push_back(p);
    CHECK_EQ(readers.size(), 2u);
    if (readers.size() != 2) return;

    for (const auto& r : readers) CHECK_EQ(setEvent(r.c_str(), OnInsert, OnRemove, (void*)r.c_str(), 0), 0);
    unsigned long state = 0;
    CHECK(getState(readers[1].c_str(), &state) == 0 && state == 0);

    simtest::Plug("ht1", true);
    CHECK(WaitFor(&g_inserts, 1)) << "insertion callback";
    CHECK(g_param == readers[1].c_str()) << "the callback gets the registered argument";
    CHECK(getState(readers[1].c_str(), &state) == 0 && state == 32);
    simtest::Plug("ht1", false);
    CHECK(WaitFor(&g_removes, 1)) << "removal callback";
    CHECK_EQ(g_inserts, 1);
    CHECK_EQ(simtest::Calls("DevChgCallback").size(), 2u);

    // Withdrawing every registration ends the event thread; the library
    // then unloads cleanly.
    for (const auto& r : readers) setEvent(r.c_str(), nullptr, nullptr, nullptr, 0);
    ::Sleep(400);
    ::FreeLibrary(lib);
    CHECK(::GetModuleHandleA("GEA20485.dll") == nullptr);
}
