// The device library's event thread: every 200 ms it compares the HaiTai
// readers that have callbacks with the scenario and calls the insertion or
// removal callback of a reader whose token came or went.
//
// The thread holds a reference on the library, so FreeLibrary by a client
// never unloads code that still runs; it lets go of it (and ends) when the
// last registration is withdrawn.
#pragma once

#include <windows.h>

#include <string>

namespace haitai {

using DevChgCallback = int(__stdcall*)(void* param);

// Registers the callbacks of one reader (replacing earlier ones); both
// callbacks null withdraw the reader's registration.
void SetDevChgEvent(const std::string& reader, int slot, DevChgCallback insert,
                    DevChgCallback remove, void* param);

}  // namespace haitai
