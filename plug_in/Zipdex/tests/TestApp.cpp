#include "framework/windows/App.h"

CWinApp g_testApp("zipdex");
