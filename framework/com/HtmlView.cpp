#include "framework/com/HtmlView.h"

#include <ocidl.h>

#include "framework/base/Module.h"

namespace {

const char kViewClassName[] = "LumivaneHtmlView";

const char* RegisterViewClass() {
    static const ATOM registered = [] {
        WNDCLASSA windowClass{};
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = AfxGetInstanceHandle();
        windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kViewClassName;
        return ::RegisterClassA(&windowClass);
    }();
    return registered ? kViewClassName : nullptr;
}

} // namespace

CHtmlView::CHtmlView() = default;

CHtmlView::~CHtmlView() {
    ReleaseBrowser();
}

const MessageMap* CHtmlView::GetMessageMap() const {
    static const MessageMap map(CWnd::GetMessageMap(),
                                {
                                    OnMessage<WM_SIZE, &CHtmlView::OnSize>(),
                                    OnMessage<WM_DESTROY, &CHtmlView::OnDestroy>(),
                                    OnMessage<WM_MOUSEACTIVATE, &CHtmlView::OnMouseActivate>(),
                                });
    return &map;
}

BOOL CHtmlView::Create(const char* className, const char* windowName, DWORD style, const RECT& rect,
                       CWnd* parent, UINT id, void*) {
    if (!className)
        className = RegisterViewClass();
    if (!className || !CreateEx(0, className, windowName, style, rect, parent, id))
        return FALSE;
    if (CreateBrowser()) {
        m_goesWithWindow = true;
        return TRUE;
    }
    ReleaseBrowser();
    // A view the caller cannot use leaves no window behind.
    DestroyWindow();
    return FALSE;
}

BOOL CHtmlView::CreateBrowser() {
    if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&m_pBrowserObject))))
        return FALSE;
    m_pSite = new CHtmlViewSite(m_hWnd, this);
    if (FAILED(m_pBrowserObject->SetClientSite(m_pSite)))
        return FALSE;
    RECT client;
    GetClientRect(&client);
    if (FAILED(m_pBrowserObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_pSite, 0, m_hWnd,
                                        &client)))
        return FALSE;
    m_pBrowserApp = m_pBrowserObject.QueryInterface<IWebBrowser2>(IID_IWebBrowser2);
    if (!m_pBrowserApp)
        return FALSE;
    // Without events the view still shows pages; only the notifications are missing.
    const auto container =
        m_pBrowserObject.QueryInterface<IConnectionPointContainer>(IID_IConnectionPointContainer);
    CComPtr<IConnectionPoint> point;
    if (container && SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point)))
        point->Advise(static_cast<IDispatch*>(m_pSite), &m_dwEventCookie);
    return TRUE;
}

void CHtmlView::ReleaseBrowser() {
    if (m_dwEventCookie && m_pBrowserObject) {
        const auto container = m_pBrowserObject.QueryInterface<IConnectionPointContainer>(
            IID_IConnectionPointContainer);
        CComPtr<IConnectionPoint> point;
        if (container && SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point)))
            point->Unadvise(m_dwEventCookie);
    }
    m_dwEventCookie = 0;
    if (m_pBrowserObject) {
        if (const auto inPlace =
                m_pBrowserObject.QueryInterface<IOleInPlaceObject>(IID_IOleInPlaceObject))
            inPlace->InPlaceDeactivate();
        m_pBrowserObject->Close(OLECLOSE_NOSAVE);
        m_pBrowserObject->SetClientSite(nullptr);
    }
    m_pBrowserApp.Release();
    m_pBrowserObject.Release();
    if (m_pSite) {
        m_pSite->Detach();
        m_pSite->Release();
        m_pSite = nullptr;
    }
}

void CHtmlView::Navigate(const char* url) {
    if (!m_pBrowserApp)
        return;
    CComBSTR address(url);
    CComVariant empty;
    m_pBrowserApp->Navigate(address, &empty, &empty, &empty, &empty);
}

void CHtmlView::SetSilent(BOOL silent) {
    if (m_pBrowserApp)
        m_pBrowserApp->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE);
}

// The pre-translate walk starts at a key's focus window and comes here only from inside the
// view, so the browser is asked only while the focus is in the page.
BOOL CHtmlView::PreTranslateMessage(MSG* msg) {
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || !m_pSite)
        return FALSE;
    // Held for the call: the page may give up its activation while it handles the key.
    CComPtr<IOleInPlaceActiveObject> active;
    if (IOleInPlaceActiveObject* held = m_pSite->GetActiveObject())
        held->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active));
    return active && active->TranslateAccelerator(msg) == S_OK;
}

HWND CHtmlView::GetBrowserWindow() const {
    HWND window = nullptr;
    if (const auto inPlace =
            m_pBrowserObject.QueryInterface<IOleInPlaceObject>(IID_IOleInPlaceObject))
        inPlace->GetWindow(&window);
    return window;
}

LRESULT CHtmlView::OnSize(WPARAM, LPARAM size) {
    const RECT client{0, 0, LOWORD(size), HIWORD(size)};
    if (const auto inPlace =
            m_pBrowserObject.QueryInterface<IOleInPlaceObject>(IID_IOleInPlaceObject))
        inPlace->SetObjectRects(&client, &client);
    return 0;
}

void CHtmlView::OnDestroy() {
    ReleaseBrowser();
    Default();
}

// A view brings its top-level window forward when clicked.
LRESULT CHtmlView::OnMouseActivate(WPARAM, LPARAM) {
    const HWND frame = ::GetAncestor(m_hWnd, GA_ROOT);
    if (frame && frame != ::GetActiveWindow())
        ::SetActiveWindow(frame);
    return MA_ACTIVATE;
}

// Views are made with new and, once created, go with their window.
void CHtmlView::PostNcDestroy() {
    if (m_goesWithWindow)
        delete this;
}
