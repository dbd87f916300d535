#pragma once

#include "framework/Wnd.h"

// A static control; the link label builds on it.
class CStatic : public CWnd {};
