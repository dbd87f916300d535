#include "TestSupport.h"

#include <windows.h>

#include <random>
#include <stdexcept>

#include "framework/base/Encoding.h"
#include "framework/base/Module.h"
#include "uidriver/Window.h"

std::string PatternBytes(size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

const std::string kPatternSha256 =
    "14faf5ca3973a1eef50a7bcd0b158b443400098038C6CC6044B64CF2C4370E08";

CString BuiltProgram(const char* fileName) {
    for (const char* relative : {"", "..\\"}) {
        const CString path = GetModuleDirectory() + relative + fileName;
        if (::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
            return path;
    }
    throw std::runtime_error(std::string("not built: ") + fileName);
}

uidriver::Process StartHelper(const char* mode, const char* windowClass, int count,
                              const char* mark, const CString& program) {
    CString command;
    command.Format("\"%s\" %s %s %d \"%s\"", static_cast<const char*>(program), mode, windowClass,
                   count, mark);
    uidriver::Process helper = uidriver::Process::Start(command.str());
    uidriver::WaitForTopWindow(helper.Id(), {std::nullopt, std::string(windowClass), false}, 10000,
                               helper.Handle());
    ::Sleep(100);
    return helper;
}

ManifestText& ManifestText::Entry(const std::string& attributes) {
    body += "    <File " + attributes + "/>\n";
    return *this;
}

ManifestText& ManifestText::File(const CString& name, const char* version,
                                 const std::string& more) {
    return Entry("Name=\"" + name.str() + "\" Version=\"" + version + "\" " + more);
}

ManifestText& ManifestText::Nested(const ManifestText& inner) {
    body += "    <Group>text<!-- note --><Files>\n" + inner.body + "    </Files></Group>\n";
    return *this;
}

std::string ManifestText::Xml() const {
    return AnsiToUtf8(("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Update Start=\"" + start +
                       "\" " + more + ">\n  <Files>\n" + body + "  </Files>\n</Update>\n")
                          .c_str());
}
