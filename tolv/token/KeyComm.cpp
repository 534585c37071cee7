#include "token/KeyComm.h"

CKeyComm::~CKeyComm()
{
    if (m_pComm) m_pComm->Release();
}
