// CKeyComm: wrapper of the Huahong COM component.  Holds no interface until
// the token monitor creates the component; releases it at destruction.
#pragma once

#include <windows.h>
#include <unknwn.h>

class CKeyComm {
public:
    CKeyComm() = default;
    virtual ~CKeyComm();
    CKeyComm(const CKeyComm&) = delete;
    CKeyComm& operator=(const CKeyComm&) = delete;

protected:
    IUnknown* m_pComm = nullptr;
};
