// Stands in for the web browser in the test prefix: every address the
// shell opens is appended to C:\opened-urls.txt, one per line.
#include <windows.h>

int main()
{
    const char* commandLine = GetCommandLineA();
    // Skip our own program name.
    bool quoted = *commandLine == '"';
    const char* p = commandLine + (quoted ? 1 : 0);
    while (*p && (quoted ? *p != '"' : *p != ' ')) ++p;
    if (*p == '"') ++p;
    while (*p == ' ') ++p;

    HANDLE file = CreateFileA("C:\\opened-urls.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, p, lstrlenA(p), &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
    return 0;
}
