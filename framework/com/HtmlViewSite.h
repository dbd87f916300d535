#pragma once

#include <windows.h>
#include <ole2.h>

#include "framework/com/Com.h"

// The WebBrowser control's events the suite uses, as virtual calls, which the site hands on;
// each does nothing unless overridden.
class CHtmlViewEvents {
public:
    virtual void OnBeforeNavigate2(const char* /*url*/, BOOL* /*cancel*/) {}
    virtual void OnDownloadBegin() {}
    virtual void OnDownloadComplete() {}
    virtual void OnProgressChange(long /*progress*/, long /*progressMax*/) {}
    // flags: the NWMF_ values; urlContext: the page that opens the window.
    virtual void OnNewWindow3(IDispatch** /*newBrowser*/, BOOL* /*cancel*/, DWORD /*flags*/,
                              const char* /*urlContext*/, const char* /*url*/) {}

protected:
    ~CHtmlViewEvents() = default;
};

// What the WebBrowser control asks of the window that hosts it: the client site, the in-place
// site and frame it activates in, and the sink of its DWebBrowserEvents2, which hands each
// event on. Reference counted; its host detaches it before letting go. It holds
// the object the browser makes UI-active, which takes keys typed inside the page first.
class CHtmlViewSite : public IOleClientSite,
                      public IOleInPlaceSite,
                      public IOleInPlaceFrame,
                      public IDispatch {
public:
    CHtmlViewSite(HWND host, CHtmlViewEvents* events) : m_hHost(host), m_pEvents(events) {}
    CHtmlViewSite(const CHtmlViewSite&) = delete;
    CHtmlViewSite& operator=(const CHtmlViewSite&) = delete;

    // Events that arrive after this are dropped, and the active object is let go.
    void Detach();
    // The browser's active object while it is UI-active, or null.
    IOleInPlaceActiveObject* GetActiveObject() const { return m_pActiveObject; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (for both the in-place site and the frame)
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT position, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO frameInfo) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow, IOleInPlaceFrame: no menus, tool space or status bar to share.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override;
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDispatch: the browser's events by their dispatch ids.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override;

private:
    virtual ~CHtmlViewSite() = default;

    LONG m_nRefs = 1;
    HWND m_hHost;
    CHtmlViewEvents* m_pEvents;
    CComPtr<IOleInPlaceActiveObject> m_pActiveObject;
};
