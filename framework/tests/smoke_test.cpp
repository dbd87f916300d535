#include <gtest/gtest.h>
#include <windows.h>
TEST(Smoke, CodePage) { EXPECT_EQ(936u, GetACP()); EXPECT_STREQ("\xca\xa1\xb7\xdd", "省份"); }
