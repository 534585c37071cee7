// GetNum's work: load the named vendor module, find the one token present
// and read its serial number, or give the result code that says why not.
#pragma once

#include <string>

#include <windows.h>

namespace morvik {

// `name` is the caller's module name (UTF-16, `length` characters, may be
// null); the result is the serial number or a three-digit code.
std::wstring ReadSerialForCaller(const wchar_t* name, UINT length);

// The same on the ANSI side.
std::string ReadSerial(const std::string& moduleName);

}  // namespace morvik
