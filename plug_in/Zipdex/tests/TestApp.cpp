#include "App.h"

CWinApp g_testApp("zipdex");
