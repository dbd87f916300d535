#include "framework/App.h"

// The tests' application object: it names message box captions.
CWinApp g_testApp("FrameworkTests");
