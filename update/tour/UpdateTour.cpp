// Drives a running update one step at a time for the demo run (scripts/run.sh update).
#include <windows.h>

#include <cstdlib>

#include "UpdateRes.h"
#include "uidriver/uidriver.h"

namespace {

using namespace uidriver;
using Arguments = std::vector<std::string>;

// Downloads in the demo are slow on purpose.
constexpr DWORD kStepTimeoutMs = 30000;
const char kDemoClass[] = "LumivaneDemo";

HWND UpdateWindow() {
    return WaitForVisibleWindow("#32770", "检查更新", kStepTimeoutMs);
}

} // namespace

int main(int argc, char** argv) {
    return RunTour(
        "update_tour", argc, argv,
        {{"rows", "N",
          [](const Arguments& rows) {
              const HWND list = Control(UpdateWindow(), IDC_LIST_FILES);
              const int wanted = std::atoi(rows[0].c_str());
              WaitFor([&] { return ListRowCount(list) >= wanted; }, kStepTimeoutMs, "the rows");
          }},
         {"upgrade", "",
          [](const Arguments&) {
              const HWND dialog = UpdateWindow();
              PostCommand(dialog, IDC_BUTTON_UPGRADE_NOW);
              WaitFor([&] { return !IsControlEnabled(dialog, IDC_BUTTON_UPGRADE_NOW); },
                      kStepTimeoutMs, "the run to start");
          }},
         {"done", "",
          [](const Arguments&) {
              if (WaitForControlText(UpdateWindow(), IDOK, "完成", kStepTimeoutMs) != "完成")
                  throw Error("the run did not finish");
          }},
         {"close", "",
          [](const Arguments&) {
              const HWND dialog = UpdateWindow();
              PostCommand(dialog, IDOK);
              WaitForWindowClosed(dialog, kStepTimeoutMs);
          }},
         // The program the updater starts when it closes.
         {"started", "",
          [](const Arguments&) { WaitForVisibleWindow(kDemoClass, nullptr, kStepTimeoutMs); }},
         {"quit", "", [](const Arguments&) {
              while (HWND demo = FindWindowA(kDemoClass, nullptr)) {
                  Post(demo, WM_CLOSE, 0, 0);
                  if (!WaitForWindowClosed(demo, kStepTimeoutMs))
                      throw Error("the demo program did not close");
              }
          }}});
}
