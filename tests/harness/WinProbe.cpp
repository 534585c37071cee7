#include "harness/WinProbe.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

namespace probe {

bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start >= timeoutMs) return pred();
        Sleep(20);
    }
}

void Settle(HANDLE process, DWORD ms)
{
    Sleep(ms);
    WaitForInputIdle(process, 2000);
}

std::vector<HWND> TopLevelWindows(DWORD pid, const char* className)
{
    struct Query {
        DWORD pid;
        const char* cls;
        std::vector<HWND> found;
    } query{pid, className, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* q = reinterpret_cast<Query*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner != q->pid) return TRUE;
            if (q->cls && ClassName(hwnd) != q->cls) return TRUE;
            q->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::string WindowText(HWND hwnd)
{
    char text[2048] = "";
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    return text;
}

std::string ClassName(HWND hwnd)
{
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

RECT ClientRectOnScreen(HWND hwnd)
{
    RECT rc = {};
    GetClientRect(hwnd, &rc);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

MessageBoxInfo FindMessageBox(DWORD pid, DWORD timeoutMs)
{
    MessageBoxInfo info;
    WaitUntil(
        [&] {
            for (HWND hwnd : TopLevelWindows(pid, "#32770")) {
                HWND text = GetDlgItem(hwnd, 0xFFFF);
                if (!text || !IsWindowVisible(hwnd)) continue;
                info.hwnd = hwnd;
                info.caption = WindowText(hwnd);
                info.text = WindowText(text);
                return true;
            }
            return false;
        },
        timeoutMs);
    return info;
}

void ClickMessageBoxOk(HWND box)
{
    if (HWND ok = GetDlgItem(box, IDOK)) PostMessageA(ok, BM_CLICK, 0, 0);
}

HWND FocusOf(HWND anyWindowOfThread)
{
    GUITHREADINFO info = {sizeof(info)};
    DWORD tid = GetWindowThreadProcessId(anyWindowOfThread, nullptr);
    if (!GetGUIThreadInfo(tid, &info)) return nullptr;
    return info.hwndFocus;
}

namespace {

// A block of memory inside the process that owns a window, for messages
// whose arguments are pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size) : m_size(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (m_process) m_base = VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (m_base) VirtualFreeEx(m_process, m_base, 0, MEM_RELEASE);
        if (m_process) CloseHandle(m_process);
    }
    char* Base() const { return static_cast<char*>(m_base); }
    bool Write(size_t offset, const void* data, size_t size) const {
        return WriteProcessMemory(m_process, Base() + offset, data, size, nullptr);
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return ReadProcessMemory(m_process, Base() + offset, data, size, nullptr);
    }
    bool Valid() const { return m_base != nullptr; }
private:
    HANDLE m_process = nullptr;
    void* m_base = nullptr;
    size_t m_size;
};

}  // namespace

std::vector<std::vector<std::string>> ListViewRows(HWND list, int columns)
{
    std::vector<std::vector<std::string>> rows;
    const size_t kText = 1024;
    RemoteBuffer remote(list, sizeof(LVITEMA) + kText);
    if (!remote.Valid()) return rows;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::vector<std::string> row;
        for (int c = 0; c < columns; ++c) {
            LVITEMA item = {};
            item.iSubItem = c;
            item.pszText = remote.Base() + sizeof(LVITEMA);
            item.cchTextMax = static_cast<int>(kText);
            remote.Write(0, &item, sizeof(item));
            SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(remote.Base()));
            char text[kText] = "";
            remote.Read(sizeof(LVITEMA), text, kText - 1);
            row.push_back(text);
        }
        rows.push_back(row);
    }
    return rows;
}

RECT ListViewRowRect(HWND list, int row)
{
    RECT rc = {LVIR_BOUNDS, 0, 0, 0};
    RemoteBuffer remote(list, sizeof(RECT));
    if (!remote.Valid()) return RECT{};
    remote.Write(0, &rc, sizeof(rc));
    SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.Base()));
    remote.Read(0, &rc, sizeof(rc));
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void MouseAt(POINT pt, DWORD buttonFlags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(pt.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(pt.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttonFlags;
    SendInput(1, &in, sizeof(in));
}

void MouseClick(POINT pt)
{
    MouseAt(pt);
    Sleep(30);
    MouseAt(pt, MOUSEEVENTF_LEFTDOWN);
    Sleep(30);
    MouseAt(pt, MOUSEEVENTF_LEFTUP);
}

bool Click(HWND button)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

void PostClick(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

namespace {

Pixels ReadDC(HDC source, int x, int y, int width, int height)
{
    Pixels px;
    px.width = width;
    px.height = height;
    px.data.resize(static_cast<size_t>(width) * height);
    HDC mem = CreateCompatibleDC(source);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    const unsigned* p = static_cast<const unsigned*>(bits);
    for (size_t i = 0; i < px.data.size(); ++i) px.data[i] = p[i] & 0x00FFFFFF;
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    return px;
}

}  // namespace

Pixels CaptureScreen(const RECT& rc)
{
    HDC screen = GetDC(nullptr);
    Pixels px = ReadDC(screen, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    ReleaseDC(nullptr, screen);
    return px;
}

Pixels RenderBitmap(HMODULE module, UINT id, int width, int height, const Pixels* background)
{
    HDC screen = GetDC(nullptr);
    HDC canvas = CreateCompatibleDC(screen);
    HBITMAP canvasBmp = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ oldCanvas = SelectObject(canvas, canvasBmp);
    PatBlt(canvas, 0, 0, width, height, WHITENESS);
    if (background) {
        for (int y = 0; y < height && y < background->height; ++y)
            for (int x = 0; x < width && x < background->width; ++x) {
                unsigned c = background->At(x, y);
                SetPixel(canvas, x, y, RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
            }
    }
    if (HBITMAP bmp = LoadBitmapA(module, MAKEINTRESOURCEA(id))) {
        BITMAP info = {};
        GetObjectA(bmp, sizeof(info), &info);
        HDC src = CreateCompatibleDC(screen);
        HGDIOBJ oldSrc = SelectObject(src, bmp);
        if (info.bmWidth > width || info.bmHeight > height)
            StretchBlt(canvas, 0, 0, width, height, src, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        else
            BitBlt(canvas, 0, 0, info.bmWidth, info.bmHeight, src, 0, 0, SRCCOPY);
        SelectObject(src, oldSrc);
        DeleteDC(src);
        DeleteObject(bmp);
    }
    Pixels px = ReadDC(canvas, 0, 0, width, height);
    SelectObject(canvas, oldCanvas);
    DeleteObject(canvasBmp);
    DeleteDC(canvas);
    ReleaseDC(nullptr, screen);
    return px;
}

double Difference(const Pixels& a, const Pixels& b)
{
    if (a.width != b.width || a.height != b.height || a.data.empty()) return 255.0;
    double sum = 0;
    for (size_t i = 0; i < a.data.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            sum += std::abs(static_cast<int>((a.data[i] >> shift) & 0xFF) -
                            static_cast<int>((b.data[i] >> shift) & 0xFF));
    return sum / (a.data.size() * 3.0);
}

bool SaveBmp(const Pixels& px, const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD rowBytes = static_cast<DWORD>((px.width * 3 + 3) & ~3);
    const DWORD imageBytes = rowBytes * px.height;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + imageBytes;
    ih.biSize = sizeof(ih);
    ih.biWidth = px.width;
    ih.biHeight = px.height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    std::vector<unsigned char> rows(imageBytes, 0);
    for (int y = 0; y < px.height; ++y)
        for (int x = 0; x < px.width; ++x) {
            unsigned c = px.At(x, px.height - 1 - y);
            unsigned char* p = &rows[y * rowBytes + x * 3];
            p[0] = c & 0xFF;
            p[1] = (c >> 8) & 0xFF;
            p[2] = (c >> 16) & 0xFF;
        }
    DWORD written = 0;
    bool ok = WriteFile(file, &fh, sizeof(fh), &written, nullptr) &&
              WriteFile(file, &ih, sizeof(ih), &written, nullptr) &&
              WriteFile(file, rows.data(), imageBytes, &written, nullptr);
    CloseHandle(file);
    return ok;
}

}  // namespace probe
