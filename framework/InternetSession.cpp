#include "framework/InternetSession.h"

#include "framework/App.h"

CInternetSession::CInternetSession(const char* agent, DWORD context, DWORD accessType,
                                   const char* proxyName, const char* proxyBypass, DWORD flags) {
    CString name(agent);
    if (!agent && AfxGetApp())
        name = AfxGetApp()->GetAppName();
    m_session.Reset(::InternetOpenA(name, accessType, proxyName, proxyBypass, flags));
    if (m_session && context != 0)
        ::InternetSetOptionA(m_session, INTERNET_OPTION_CONTEXT_VALUE, &context, sizeof context);
}

std::unique_ptr<CInternetFile> CInternetSession::OpenURL(const char* url, DWORD context,
                                                         DWORD flags, const char* headers,
                                                         DWORD headersLength) {
    if (!m_session || !url)
        return nullptr;
    CInternetHandle request(::InternetOpenUrlA(m_session, url, headers, headersLength, flags,
                                               static_cast<DWORD_PTR>(context)));
    if (!request)
        return nullptr;
    return std::make_unique<CInternetFile>(std::move(request));
}
