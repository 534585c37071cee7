// Tiny owners for the handles Morvik takes, so every path gives them back.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace morvik {

// A COM interface pointer released when it goes.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For calls that hand out a new reference.
    T** Out() { Reset(); return &m_p; }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    void Reset()
    {
        if (m_p) m_p->Release();
        m_p = nullptr;
    }
    T* Detach() { return std::exchange(m_p, nullptr); }

private:
    T* m_p = nullptr;
};

// A BSTR freed when it goes.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const wchar_t* text) : m_s(::SysAllocString(text)) {}
    ~Bstr() { ::SysFreeString(m_s); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR Get() const { return m_s; }
    BSTR* Out() { ::SysFreeString(m_s); m_s = nullptr; return &m_s; }
    BSTR Detach() { return std::exchange(m_s, nullptr); }

private:
    BSTR m_s = nullptr;
};

// A module loaded by us and freed again.
class Library {
public:
    explicit Library(HMODULE h = nullptr) : m_h(h) {}
    ~Library() { if (m_h) ::FreeLibrary(m_h); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    HMODULE Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }

private:
    HMODULE m_h;
};

// A registry key closed when it goes.
class RegKey {
public:
    RegKey() = default;
    ~RegKey() { if (m_h) ::RegCloseKey(m_h); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    HKEY Get() const { return m_h; }
    HKEY* Out()
    {
        if (m_h) ::RegCloseKey(m_h);
        m_h = nullptr;
        return &m_h;
    }

private:
    HKEY m_h = nullptr;
};

// A critical section that lives as long as its owner, and its scoped hold.
class CriticalSection {
public:
    CriticalSection() { ::InitializeCriticalSection(&m_cs); }
    ~CriticalSection() { ::DeleteCriticalSection(&m_cs); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() { ::EnterCriticalSection(&m_cs); }
    void Leave() { ::LeaveCriticalSection(&m_cs); }

private:
    CRITICAL_SECTION m_cs;
};

class Lock {
public:
    explicit Lock(CriticalSection& cs) : m_cs(cs) { m_cs.Enter(); }
    ~Lock() { m_cs.Leave(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CriticalSection& m_cs;
};

}  // namespace morvik
