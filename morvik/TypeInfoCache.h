// The type information of IGetSerial, loaded from the registered type
// library on first use and kept until the DLL is detached, with a table of
// the interface's function names for quick GetIDsOfNames answers.
#pragma once

#include <oaidl.h>

namespace morvik {

// The cached ITypeInfo with a reference added for the caller.
HRESULT GetTypeInfo(LCID lcid, ITypeInfo** out);
HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, LCID lcid, DISPID* ids);
// Calls a method of `face` (the dual interface) through the type information.
HRESULT Invoke(IDispatch* face, DISPID id, LCID lcid, WORD flags, DISPPARAMS* params,
               VARIANT* result, EXCEPINFO* exception, UINT* argError);

}  // namespace morvik
