#include "UpdateApp.h"

// The one application object; the framework's WinMain runs its InitInstance.
CUpdateApp theApp;
