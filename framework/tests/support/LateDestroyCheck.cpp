// Compiled into the test programs that link framework_late_destroy_check: a test that lets an
// object destroy its own window, when the object's derived handlers are gone, fails.
#include <gtest/gtest.h>

#include "framework/windows/Wnd.h"

namespace {

class LateDestroyCheck : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        EXPECT_EQ(0, CWnd::TakeLateDestroyCount())
            << "a window died with its object, unseen by the object's WM_DESTROY handlers: "
               "call DestroyWindow first";
    }
};

struct Registration {
    Registration() { ::testing::UnitTest::GetInstance()->listeners().Append(new LateDestroyCheck); }
} g_registration;

} // namespace
