#pragma once

#include "Wnd.h"

// A static control; the link label builds on it.
class CStatic : public CWnd {};
