#pragma once

#include "framework/base/String.h"

// Errors raised by the framework's services (the database layer among them). The message
// dispatch catches them, shows their text and keeps the window running.
class CException {
public:
    explicit CException(CString message) : m_strError(std::move(message)) {}
    virtual ~CException() = default;
    const CString& GetErrorMessage() const { return m_strError; }

    CString m_strError;
};
