#include "framework/windows/App.h"

namespace {

// The tests' application object: it names message box captions and takes the help command.
class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("FrameworkTests") {}
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CWinApp::GetMessageMap(),
                                    {OnCommand<&CWinApp::OnHelp>(ID_HELP)});
        return &map;
    }
} g_testApp;

} // namespace
