#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "App.h"
#include "Shell.h"
#include "String.h"

// A 32-bit top-down DIB selected into a memory drawing context, for pixel tests.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return m_dc; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    COLORREF At(int x, int y) const;
    void Fill(COLORREF color);

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    DWORD* m_bits = nullptr;
    int m_width;
    int m_height;
};

// What the seams saw: shell launches, WinExec command lines, message boxes and beeps.
// While alive it replaces the framework's launcher and sinks; the results are configurable.
class SeamRecorder {
public:
    SeamRecorder();
    ~SeamRecorder();
    SeamRecorder(const SeamRecorder&) = delete;
    SeamRecorder& operator=(const SeamRecorder&) = delete;

    struct ShellCall {
        std::string operation;
        std::string file;
        bool hasParameters;
        bool hasDirectory;
        bool hasOwner;
        int show;
    };
    struct ExecCall {
        std::string commandLine;
        UINT show;
    };
    struct Box {
        std::string text;
        UINT type;
    };

    int shellResult = 42;
    UINT execResult = 33;
    std::vector<ShellCall> shellCalls;
    std::vector<ExecCall> execCalls;
    std::vector<Box> boxes;
    std::vector<UINT> beeps;

private:
    ShellLauncher m_previousLauncher;
    MessageBoxSink m_previousBoxSink;
    MessageBeepSink m_previousBeepSink;
};

// A key under HKEY_CURRENT_USER\Software\LumivaneTest\Controls\<name>, deleted with its tree
// when the object goes; it stands in for HKEY_CLASSES_ROOT in the association tests.
class TestRegistryRoot {
public:
    explicit TestRegistryRoot(const char* name);
    ~TestRegistryRoot();
    TestRegistryRoot(const TestRegistryRoot&) = delete;
    TestRegistryRoot& operator=(const TestRegistryRoot&) = delete;

    HKEY key() const { return m_key; }
    // Sets the default value of subKey (created if needed) to a string.
    void SetDefault(const char* subKey, const std::string& value);
    void CreateKey(const char* subKey);

private:
    std::string m_path;
    HKEY m_key = nullptr;
};

// Collects the child windows of a dialog with their class and text.
struct ChildWindow {
    HWND window;
    int id;
    std::string className;
    std::string text;
};
std::vector<ChildWindow> ChildWindows(HWND parent);
