#include "ConfigDownload.h"

#include "framework/com/XmlDom.h"
#include "framework/net/WholeDownload.h"

CComPtr<IXMLDOMNodeList> ReadCompanyEntries(const char* path, size_t maxBytes) {
    CComPtr<IXMLDOMDocument> document = CreateXmlDocument();
    CComPtr<IXMLDOMNodeList> entries;
    CComBSTR query("//Expresses/*");
    if (!LoadXmlFile(document, path, maxBytes) || FAILED(document->selectNodes(query, &entries)))
        return {};
    return entries;
}

BOOL DownloadConfig(const char* agent, const char* url, const CString& path, size_t maxBytes,
                    const InternetTransferLimits& limits) {
    DownloadPolicy policy;
    policy.redirects = DownloadPolicy::kMaxRedirects;
    policy.maxBytes = maxBytes;
    policy.limits = limits;
    // An error page served as 200 would empty the list until the site is mended.
    policy.validator = [maxBytes](const char* temporary) {
        const CComPtr<IXMLDOMNodeList> entries = ReadCompanyEntries(temporary, maxBytes);
        long count = 0;
        return entries && SUCCEEDED(entries->get_length(&count)) && count > 0;
    };
    policy.temporaryPrefix = "cfg";
    CWholeDownload download(agent, policy);
    return download.ToFile(url, path) == DownloadResult::Complete;
}
