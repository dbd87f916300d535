#include "PackageApp.h"

// The one application object; the framework's WinMain runs its InitInstance.
CPackageApp theApp;
