#include "LookupApp.h"

// The one application object; the framework's WinMain runs its InitInstance.
CLookupApp theApp;
