#include "framework/com/HtmlViewSite.h"

#include <exdisp.h>
#include <exdispid.h>

#include "framework/base/Encoding.h"

namespace {

// Arguments arrive last first; by-reference variants are followed to their value.
const VARIANT& Arg(const DISPPARAMS* params, UINT fromFirst) {
    const VARIANT& arg = params->rgvarg[params->cArgs - 1 - fromFirst];
    if (arg.vt == (VT_VARIANT | VT_BYREF) && arg.pvarVal)
        return *arg.pvarVal;
    return arg;
}

CString ArgText(const DISPPARAMS* params, UINT fromFirst) {
    const VARIANT& arg = Arg(params, fromFirst);
    if (arg.vt == VT_BSTR)
        return WideToAnsi(arg.bstrVal);
    if (arg.vt == (VT_BSTR | VT_BYREF) && arg.pbstrVal)
        return WideToAnsi(*arg.pbstrVal);
    return CString();
}

long ArgLong(const DISPPARAMS* params, UINT fromFirst) {
    VARIANT value;
    ::VariantInit(&value);
    long result = 0;
    if (SUCCEEDED(
            ::VariantChangeType(&value, const_cast<VARIANT*>(&Arg(params, fromFirst)), 0, VT_I4)))
        result = value.lVal;
    ::VariantClear(&value);
    return result;
}

// Where the handler may put a browser of its own for a new window; null when not given.
IDispatch** ArgBrowserSlot(const DISPPARAMS* params, UINT fromFirst) {
    const VARIANT& arg = Arg(params, fromFirst);
    return arg.vt == (VT_DISPATCH | VT_BYREF) ? arg.ppdispVal : nullptr;
}

// A VARIANT_BOOL* cancel argument: the handler's BOOL is written back when it says cancel.
class CancelArg {
public:
    CancelArg(const DISPPARAMS* params, UINT fromFirst) {
        const VARIANT& arg = Arg(params, fromFirst);
        if (arg.vt == (VT_BOOL | VT_BYREF))
            m_pTarget = arg.pboolVal;
    }
    ~CancelArg() {
        if (m_pTarget)
            *m_pTarget = m_bCancel ? VARIANT_TRUE : VARIANT_FALSE;
    }
    CancelArg(const CancelArg&) = delete;
    CancelArg& operator=(const CancelArg&) = delete;
    BOOL* operator&() { return &m_bCancel; }

private:
    VARIANT_BOOL* m_pTarget = nullptr;
    BOOL m_bCancel = FALSE;
};

} // namespace

STDMETHODIMP CHtmlViewSite::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *object = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
        *object = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
        *object = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2)
        *object = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CHtmlViewSite::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_nRefs));
}

STDMETHODIMP_(ULONG) CHtmlViewSite::Release() {
    const LONG refs = ::InterlockedDecrement(&m_nRefs);
    if (refs == 0)
        delete this;
    return static_cast<ULONG>(refs);
}

void CHtmlViewSite::Detach() {
    m_hHost = nullptr;
    m_pEvents = nullptr;
    m_pActiveObject.Release();
}

STDMETHODIMP CHtmlViewSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
    m_pActiveObject.Release();
    if (object && m_hHost)
        object->QueryInterface(IID_IOleInPlaceActiveObject,
                               reinterpret_cast<void**>(&m_pActiveObject));
    return S_OK;
}

STDMETHODIMP CHtmlViewSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CHtmlViewSite::GetContainer(IOleContainer** container) {
    if (container)
        *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CHtmlViewSite::GetWindow(HWND* window) {
    if (!window)
        return E_POINTER;
    *window = m_hHost;
    return *window ? S_OK : E_FAIL;
}

STDMETHODIMP CHtmlViewSite::GetWindowContext(IOleInPlaceFrame** frame,
                                             IOleInPlaceUIWindow** document, LPRECT position,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) {
    if (!frame || !document || !position || !clip || !frameInfo)
        return E_POINTER;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;
    ::SetRectEmpty(position);
    if (m_hHost)
        ::GetClientRect(m_hHost, position);
    *clip = *position;
    frameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = m_hHost ? ::GetAncestor(m_hHost, GA_ROOT) : nullptr;
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP CHtmlViewSite::GetTypeInfoCount(UINT* count) {
    if (count)
        *count = 0;
    return S_OK;
}

STDMETHODIMP CHtmlViewSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) {
    CHtmlViewEvents* events = m_pEvents;
    if (!events || !params)
        return S_OK;
    const auto has = [params](UINT count) { return params->cArgs >= count; };
    switch (id) {
    case DISPID_DOWNLOADBEGIN:
        events->OnDownloadBegin();
        break;
    case DISPID_DOWNLOADCOMPLETE:
        events->OnDownloadComplete();
        break;
    case DISPID_PROGRESSCHANGE:
        if (has(2))
            events->OnProgressChange(ArgLong(params, 0), ArgLong(params, 1));
        break;
    case DISPID_BEFORENAVIGATE2:
        if (has(7)) {
            CancelArg cancel(params, 6);
            events->OnBeforeNavigate2(ArgText(params, 1), &cancel);
        }
        break;
    case DISPID_NEWWINDOW3:
        if (has(5)) {
            CancelArg cancel(params, 1);
            events->OnNewWindow3(ArgBrowserSlot(params, 0), &cancel,
                                 static_cast<DWORD>(ArgLong(params, 2)), ArgText(params, 3),
                                 ArgText(params, 4));
        }
        break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    return S_OK;
}
