#pragma once

#include <windows.h>
#include <oleauto.h>

#include <utility>

#include "framework/base/Encoding.h"
#include "framework/base/String.h"

// Owns one reference to a COM interface and releases it; copies add a reference.
template <class T> class CComPtr {
public:
    CComPtr() = default;
    CComPtr(const CComPtr& other) : p(other.p) {
        if (p)
            p->AddRef();
    }
    CComPtr(CComPtr&& other) noexcept : p(std::exchange(other.p, nullptr)) {}
    CComPtr& operator=(CComPtr other) noexcept {
        std::swap(p, other.p);
        return *this;
    }
    ~CComPtr() { Release(); }

    void Release() {
        if (p)
            std::exchange(p, nullptr)->Release();
    }
    // For calls that hand back a new reference through an out parameter.
    T** operator&() {
        Release();
        return &p;
    }
    T* operator->() const { return p; }
    operator T*() const { return p; }
    explicit operator bool() const { return p != nullptr; }

    // Another interface of the same object; empty when it has none.
    template <class Q> CComPtr<Q> QueryInterface(REFIID iid) const {
        CComPtr<Q> other;
        if (p)
            p->QueryInterface(iid, reinterpret_cast<void**>(&other));
        return other;
    }

    T* p = nullptr;
};

// Owns a BSTR.
class CComBSTR {
public:
    CComBSTR() = default;
    explicit CComBSTR(const wchar_t* text) : m_str(::SysAllocString(text)) {}
    // From the programs' narrow text.
    explicit CComBSTR(const char* text) : CComBSTR(AnsiToWide(text).c_str()) {}
    CComBSTR(const CComBSTR&) = delete;
    CComBSTR& operator=(const CComBSTR&) = delete;
    ~CComBSTR() { ::SysFreeString(m_str); }

    BSTR* operator&() {
        ::SysFreeString(m_str);
        m_str = nullptr;
        return &m_str;
    }
    operator BSTR() const { return m_str; }
    CString ToAnsi() const { return WideToAnsi(m_str); }

    BSTR m_str = nullptr;
};

// Owns a VARIANT and clears it.
class CComVariant : public VARIANT {
public:
    CComVariant() { ::VariantInit(this); }
    // A string variant holding the narrow text converted to UTF-16.
    explicit CComVariant(const char* text) {
        ::VariantInit(this);
        vt = VT_BSTR;
        bstrVal = ::SysAllocString(AnsiToWide(text).c_str());
    }
    CComVariant(const CComVariant&) = delete;
    CComVariant& operator=(const CComVariant&) = delete;
    ~CComVariant() { ::VariantClear(this); }

    // The text of a string variant; empty for any other kind (VT_NULL of a missing value).
    CString ToAnsi() const { return vt == VT_BSTR ? WideToAnsi(bstrVal) : CString(); }
};
