// Compiled into every test program that uses this support: the dialogs under test hold list
// views, trees and tooltips, whose classes must be registered before the first window.
#include <windows.h>
#include <commctrl.h>

namespace {

struct CommonControls {
    CommonControls() { ::InitCommonControls(); }
} g_commonControls;

} // namespace
