#include "core/SimCall.h"

namespace sim {

SimCall::SimCall(const std::string& module, const std::string& function, const std::string& args)
    : m_scenario(LoadScenario()), m_module(module), m_function(function), m_args(args)
{
}

SimCall::~SimCall()
{
    if (!m_logged) AppendCall(m_module, m_function, m_args, "", "");
    if (m_changed) SaveScenario(m_scenario);
}

bool SimCall::Injected()
{
    if (!m_scenario.TakeFailure(m_module, m_function, &m_injectedCode)) return false;
    m_changed = true;
    Return(m_injectedCode, "(injected failure)");
    return true;
}

unsigned long SimCall::Return(unsigned long result, const std::string& out)
{
    ReturnText(Format("0x%lX", result), out);
    return result;
}

void SimCall::ReturnText(const std::string& result, const std::string& out)
{
    AppendCall(m_module, m_function, m_args, result, out);
    m_logged = true;
}

bool InjectedFailure(const std::string& module, const std::string& function,
                     const std::string& args, unsigned long* code)
{
    SimCall call(module, function, args);
    if (!call.Injected()) {
        call.LoggedByCaller();
        return false;
    }
    *code = call.InjectedCode();
    return true;
}

}  // namespace sim
