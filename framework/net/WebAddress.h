#pragma once

// TRUE for an http or https address with a host ("HTTP://" counts) and without blanks, control
// characters or quotes; FALSE for any other scheme, a path, a share or an empty text.
// Addresses from outside the program are shown in a browser only when they pass.
bool IsWebAddress(const char* address);
