#include "framework/App.h"

CWinApp g_testApp("zipdex");
