// Compiled into the test programs that link framework_late_destroy_check: a test that lets an
// object destroy its own window, when the object's derived handlers are gone, fails.
#include <gtest/gtest.h>

#include "framework/windows/Wnd.h"

namespace {

struct LateDestroyCheck : ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        EXPECT_EQ(0, CWnd::TakeLateDestroyCount()) << "windows died with their objects, unseen "
                                                      "by their handlers: DestroyWindow first";
    }
};

const bool g_registered =
    (::testing::UnitTest::GetInstance()->listeners().Append(new LateDestroyCheck), true);

} // namespace
