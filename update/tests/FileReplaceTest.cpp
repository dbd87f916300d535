#include <gtest/gtest.h>

#include <windows.h>

#include "FileReplace.h"
#include "framework/ScopedHandle.h"
#include "framework/Module.h"
#include "TestSupport.h"

namespace {

// The target is either the new copy or the old file whole, with nothing left beside it;
// the download itself is never touched.
TEST(ReplaceFileWhole, ReplacesOrKeepsTheTargetWhole) {
    const CString folder = GetModuleDirectory() + "replace_test";
    const CString source = folder + "\\download.bin";
    const CString target = folder + "\\app.exe";
    enum class Obstacle { None, ReadOnly, InUse, NoSource };
    for (Obstacle obstacle :
         {Obstacle::None, Obstacle::ReadOnly, Obstacle::InUse, Obstacle::NoSource}) {
        SCOPED_TRACE(static_cast<int>(obstacle));
        RemoveTree(folder);
        MakeFolder(folder);
        if (obstacle != Obstacle::NoSource)
            WriteBytes(source, "new program");
        WriteBytes(target, "old program");
        if (obstacle == Obstacle::ReadOnly)
            ::SetFileAttributesA(target, FILE_ATTRIBUTE_READONLY);
        CHandle held(obstacle == Obstacle::InUse
                         ? ::CreateFileA(target, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr)
                         : INVALID_HANDLE_VALUE);
        EXPECT_EQ(obstacle == Obstacle::None, ReplaceFileWhole(source, target));
        held.Reset();
        EXPECT_EQ(obstacle == Obstacle::None ? "new program" : "old program", ReadBytes(target));
        EXPECT_EQ(obstacle == Obstacle::NoSource ? "app.exe" : "app.exe download.bin",
                  ListFolder(folder));
    }
    RemoveTree(folder);
}

} // namespace
