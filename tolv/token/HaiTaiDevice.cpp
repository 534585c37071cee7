#include "token/HaiTaiDevice.h"

CHaiTaiDevice::CHaiTaiDevice()
{
    m_device = ::LoadLibraryA("GEA20485.dll");
    m_skf = ::LoadLibraryA("SKFAPI_HT20485.dll");
}

CHaiTaiDevice::~CHaiTaiDevice()
{
    if (m_skf) ::FreeLibrary(m_skf);
    if (m_device) ::FreeLibrary(m_device);
}

bool CHaiTaiDevice::Bind()
{
    // No device functions are bound yet: without them no device-change
    // registration is made and Huahong tokens are still watched.
    return false;
}
