#include "app/ShutdownGate.h"

CShutdownGate g_shutdownGate;

HANDLE CShutdownGate::StopEvent()
{
    ::AcquireSRWLockExclusive(&m_lock);
    if (!m_stopEvent) m_stopEvent = ::CreateEventA(nullptr, TRUE, m_stopping, nullptr);
    HANDLE event = m_stopEvent;
    ::ReleaseSRWLockExclusive(&m_lock);
    return event;
}

void CShutdownGate::AddThread(HANDLE thread)
{
    if (!thread) return;
    HANDLE own = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), thread, ::GetCurrentProcess(), &own,
                           SYNCHRONIZE, FALSE, 0))
        return;
    ::AcquireSRWLockExclusive(&m_lock);
    if (m_threadCount < kMaxThreads) {
        m_threads[m_threadCount++] = own;
        own = nullptr;
    }
    ::ReleaseSRWLockExclusive(&m_lock);
    if (own) ::CloseHandle(own);
}

bool CShutdownGate::WaitForStop(DWORD ms)
{
    return ::WaitForSingleObject(StopEvent(), ms) == WAIT_OBJECT_0;
}

bool CShutdownGate::IsStopping()
{
    ::AcquireSRWLockShared(&m_lock);
    bool stopping = m_stopping;
    ::ReleaseSRWLockShared(&m_lock);
    return stopping;
}

bool CShutdownGate::EnterCallback()
{
    ::AcquireSRWLockExclusive(&m_lock);
    bool allowed = !m_stopping;
    if (allowed) ++m_callbacks;
    ::ReleaseSRWLockExclusive(&m_lock);
    return allowed;
}

void CShutdownGate::LeaveCallback()
{
    ::AcquireSRWLockExclusive(&m_lock);
    if (m_callbacks > 0) --m_callbacks;
    ::ReleaseSRWLockExclusive(&m_lock);
}

bool CShutdownGate::StopAndWait(DWORD timeoutMs)
{
    HANDLE event = StopEvent();
    ::AcquireSRWLockExclusive(&m_lock);
    m_stopping = true;
    ::ReleaseSRWLockExclusive(&m_lock);
    ::SetEvent(event);

    const DWORD start = ::GetTickCount();
    for (;;) {
        ::AcquireSRWLockShared(&m_lock);
        HANDLE pending[kMaxThreads];
        int count = 0;
        for (int i = 0; i < m_threadCount; ++i)
            if (::WaitForSingleObject(m_threads[i], 0) == WAIT_TIMEOUT) pending[count++] = m_threads[i];
        bool callbacksBusy = m_callbacks > 0;
        ::ReleaseSRWLockShared(&m_lock);
        if (count == 0 && !callbacksBusy) return true;

        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        DWORD slice = timeoutMs - elapsed;
        if (callbacksBusy && slice > 10) slice = 10;  // callbacks are polled
        ::MsgWaitForMultipleObjects(static_cast<DWORD>(count), pending, FALSE, slice, QS_SENDMESSAGE);
        MSG msg;  // handles messages sent from other threads, nothing else
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
