// The gate that worker threads and vendor callbacks pass through, so that
// the process-wide objects they use are destroyed only after they stopped.
//
// Worker threads wait with WaitForStop instead of Sleep and leave their loop
// when it returns true.  A vendor callback runs between EnterCallback and
// LeaveCallback and does nothing when EnterCallback refuses.  At exit the
// application calls StopAndWait once, after the main window is gone and
// before the process-wide objects are destroyed.
//
// The object is constant-initialised and never destroyed, so it is usable
// from the first static constructor to the last static destructor.
#pragma once

#include <windows.h>

class CShutdownGate {
public:
    constexpr CShutdownGate() = default;

    // Joins this thread at exit; the gate keeps its own handle to it.
    void AddThread(HANDLE thread);
    // Sleeps up to ms; returns true at once when the program is stopping.
    bool WaitForStop(DWORD ms);
    bool IsStopping();

    // False when the program is stopping: the callback must return at once.
    bool EnterCallback();
    void LeaveCallback();

    // Tells every thread to stop and waits (up to timeoutMs in all) for the
    // threads to end and the callbacks under way to leave.  Messages sent to
    // this thread's windows meanwhile are handled, so a worker blocked in
    // SendMessage cannot deadlock the exit.  Returns true when all stopped.
    bool StopAndWait(DWORD timeoutMs);

private:
    static const int kMaxThreads = 8;
    HANDLE StopEvent();

    SRWLOCK m_lock = SRWLOCK_INIT;
    HANDLE m_stopEvent = nullptr;
    bool m_stopping = false;
    LONG m_callbacks = 0;
    HANDLE m_threads[kMaxThreads] = {};
    int m_threadCount = 0;
};

extern CShutdownGate g_shutdownGate;
