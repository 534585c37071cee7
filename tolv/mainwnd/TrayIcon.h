// The tray icon's one notification record and the operations on it.
//
// Every thread that raises or clears a balloon goes through these
// functions.  Each call takes the record's lock for its field assignments
// and its Shell_NotifyIconA call, so a balloon never shows one writer's
// text with another writer's state.
#pragma once

#include <windows.h>
#include <shellapi.h>

extern NOTIFYICONDATAA g_nid;

// Fills the record for the main window and adds the icon.
void TrayAddIcon(HWND owner, HICON icon, UINT callbackMessage);
// Adds the icon again with the record as it stands (after a shell restart).
void TrayReAddIcon();
void TrayDeleteIcon();

// Shows text as the balloon (at most 255 bytes are taken); an empty text
// removes the balloon showing.
void RaiseBalloon(const char* text);
inline void ClearBalloon() { RaiseBalloon(""); }

// Tests replace the shell call to observe every record that is sent.
using TrayNotifyFn = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);
void SetTrayNotifyForTesting(TrayNotifyFn fn);
