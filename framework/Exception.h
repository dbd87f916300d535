#pragma once

#include "framework/String.h"

// Errors raised by the framework's services (the database layer among them). The message
// dispatch catches them, shows their text and keeps the window running.
class CException {
public:
    explicit CException(CString message) : m_strError(std::move(message)) {}
    virtual ~CException() = default;
    const CString& GetErrorMessage() const { return m_strError; }

    CString m_strError;
};

// Shows an error's text in a message box with the stop icon.
void AfxReportException(const CException& error);

// From inside catch (...): shows the error being handled if it is a CException or a standard
// exception, the way a window procedure and WinMain do; anything else is thrown on.
void AfxReportCurrentException();
