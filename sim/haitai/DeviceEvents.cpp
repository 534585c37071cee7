#include "haitai/DeviceEvents.h"

#include "core/CallLog.h"
#include "core/SimFiles.h"

#include <vector>

using namespace sim;

namespace haitai {
namespace {

struct Registration {
    std::string reader;
    int slot;
    DevChgCallback insert;
    DevChgCallback remove;
    void* param;
    bool present;
};

// Registrations and the thread's existence, shared by the callers of
// SetDevChgEvent and the event thread.
class Registry {
public:
    Registry() { ::InitializeCriticalSection(&m_lock); }
    CRITICAL_SECTION m_lock;
    std::vector<Registration> m_registrations;
    bool m_threadRunning = false;
};

Registry& TheRegistry()
{
    static Registry* registry = new Registry;  // lives as long as the process
    return *registry;
}

class Locked {
public:
    explicit Locked(Registry& r) : m_r(r) { ::EnterCriticalSection(&m_r.m_lock); }
    ~Locked() { ::LeaveCriticalSection(&m_r.m_lock); }
private:
    Registry& m_r;
};

bool TokenPresent(Scenario& s, int slot) { return s.PluggedAt(Vendor::HaiTai, slot) != nullptr; }

struct Transition {
    DevChgCallback callback;
    void* param;
    std::string what;
};

// One look at the scenario; false when no registration is left.
bool Poll(std::vector<Transition>* due)
{
    Scenario s;
    {
        SimLock lock;
        s = LoadScenario();
    }
    Registry& r = TheRegistry();
    Locked locked(r);
    if (r.m_registrations.empty()) {
        r.m_threadRunning = false;
        return false;
    }
    for (auto& reg : r.m_registrations) {
        bool present = TokenPresent(s, reg.slot);
        if (present == reg.present) continue;
        reg.present = present;
        DevChgCallback cb = present ? reg.insert : reg.remove;
        if (cb) due->push_back({cb, reg.param, (present ? "insert reader=" : "remove reader=") + reg.reader});
    }
    return true;
}

DWORD WINAPI EventThread(void* self)
{
    for (;;) {
        std::vector<Transition> due;
        if (!Poll(&due)) break;
        // Callbacks run without any lock held: they may block for seconds
        // and call back into the library.
        for (const auto& t : due) {
            AppendCall("GEA20485.dll", "DevChgCallback", t.what, "", "");
            t.callback(t.param);
        }
        ::Sleep(200);
    }
    ::FreeLibraryAndExitThread(static_cast<HMODULE>(self), 0);
}

void StartThread()
{
    HMODULE self = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCSTR>(&EventThread), &self))
        return;
    HANDLE thread = ::CreateThread(nullptr, 0, EventThread, self, 0, nullptr);
    if (thread) {
        ::CloseHandle(thread);
        TheRegistry().m_threadRunning = true;
    } else
        ::FreeLibrary(self);
}

}  // namespace

void SetDevChgEvent(const std::string& reader, int slot, DevChgCallback insert,
                    DevChgCallback remove, void* param)
{
    bool present;
    {
        SimLock lock;
        Scenario s = LoadScenario();
        present = TokenPresent(s, slot);
    }
    Registry& r = TheRegistry();
    Locked locked(r);
    auto& regs = r.m_registrations;
    for (auto it = regs.begin(); it != regs.end();)
        it = it->reader == reader ? regs.erase(it) : std::next(it);
    if (insert || remove) regs.push_back({reader, slot, insert, remove, param, present});
    if (!regs.empty() && !r.m_threadRunning) StartThread();
}

}  // namespace haitai
