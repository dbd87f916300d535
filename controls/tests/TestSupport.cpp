#include "TestSupport.h"

#include <commctrl.h>

namespace {

// Tooltips and the other common controls need their classes registered once per process.
struct CommonControls {
    CommonControls() { ::InitCommonControls(); }
} g_commonControls;

} // namespace

Canvas::Canvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_dc = ::CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<DWORD*>(bits);
    m_oldBitmap = ::SelectObject(m_dc, m_bitmap);
    Fill(fill);
}

Canvas::~Canvas() {
    ::SelectObject(m_dc, m_oldBitmap);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
}

COLORREF Canvas::At(int x, int y) const {
    ::GdiFlush();
    const DWORD pixel = m_bits[y * m_width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

void Canvas::Fill(COLORREF color) {
    ::GdiFlush();
    const DWORD pixel = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    for (int i = 0; i < m_width * m_height; ++i)
        m_bits[i] = pixel;
}

SeamRecorder::SeamRecorder() {
    ShellLauncher launcher;
    launcher.shellExecute = [this](HWND owner, const char* operation, const char* file,
                                   const char* parameters, const char* directory, int show) {
        shellCalls.push_back({operation ? operation : "", file ? file : "", parameters != nullptr,
                              directory != nullptr, owner != nullptr, show});
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(shellResult));
    };
    launcher.winExec = [this](const char* commandLine, UINT show) {
        execCalls.push_back({commandLine, show});
        return execResult;
    };
    m_previousLauncher = AfxSetShellLauncher(launcher);
    m_previousBoxSink =
        AfxSetMessageBoxSink([this](const CString& text, const CString&, UINT type) {
            boxes.push_back({text.str(), type});
            return IDOK;
        });
    m_previousBeepSink = AfxSetMessageBeepSink([this](UINT type) { beeps.push_back(type); });
}

SeamRecorder::~SeamRecorder() {
    AfxSetShellLauncher(m_previousLauncher);
    AfxSetMessageBoxSink(m_previousBoxSink);
    AfxSetMessageBeepSink(m_previousBeepSink);
}

TestRegistryRoot::TestRegistryRoot(const char* name)
    : m_path(std::string("Software\\LumivaneTest\\Controls\\") + name) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    ::RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &m_key, nullptr);
}

TestRegistryRoot::~TestRegistryRoot() {
    if (m_key)
        ::RegCloseKey(m_key);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
}

void TestRegistryRoot::CreateKey(const char* subKey) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(m_key, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
        ::RegCloseKey(key);
}

void TestRegistryRoot::SetDefault(const char* subKey, const std::string& value) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(m_key, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(key);
}

std::vector<ChildWindow> ChildWindows(HWND parent) {
    std::vector<ChildWindow> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {};
        ::GetClassNameA(child, className, sizeof className);
        char text[512] = {};
        ::GetWindowTextA(child, text, sizeof text);
        children.push_back({child, ::GetDlgCtrlID(child), className, text});
    }
    return children;
}
