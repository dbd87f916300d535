#pragma once

#include "framework/windows/Wnd.h"

// A static control; the link label builds on it.
class CStatic : public CWnd {};
