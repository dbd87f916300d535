#include "framework/Exception.h"

#include <exception>

#include "framework/App.h"

void AfxReportException(const CException& error) {
    AfxMessageBox(error.GetErrorMessage(), MB_OK | MB_ICONSTOP);
}

void AfxReportCurrentException() {
    try {
        throw;
    } catch (const CException& error) {
        AfxReportException(error);
    } catch (const std::exception& error) {
        AfxMessageBox(error.what(), MB_OK | MB_ICONSTOP);
    }
}
