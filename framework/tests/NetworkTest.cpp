#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "TestFiles.h"
#include "framework/windows/App.h"
#include "framework/base/File.h"
#include "framework/net/InternetSession.h"
#include "framework/net/Socket.h"
#include "framework/com/XmlDom.h"

namespace {

// A listening loopback socket on a free port.
struct Listener {
    Listener() {
        AfxSocketInit();
        socket.Reset(::socket(AF_INET, SOCK_STREAM, 0));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = ::inet_addr("127.0.0.1");
        ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(socket, 1);
        int length = sizeof address;
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
        port = ::ntohs(address.sin_port);
    }
    CSocketHandle socket;
    UINT port = 0;
};

TEST(Socket, BlockingConnectSucceedsOnlyWhereSomeoneListens) {
    Listener listener;
    CSocket socket;
    ASSERT_TRUE(socket.Create(0, SOCK_STREAM, CAsyncSocket::kAllEvents, nullptr));
    EXPECT_TRUE(socket.Connect("127.0.0.1", listener.port));
    EXPECT_TRUE(socket.Create());
    EXPECT_TRUE(socket.Connect("localhost", listener.port)) << "names are resolved";

    const UINT closedPort = listener.port;
    listener.socket.Reset();
    ASSERT_TRUE(socket.Create());
    EXPECT_FALSE(socket.Connect("127.0.0.1", closedPort));
    EXPECT_EQ(WSAECONNREFUSED, CAsyncSocket::GetLastError());
}

// A host that never answers (here a listener whose queue is full, so that the system drops
// further attempts) is given up at the limit instead of after the system's minutes.
TEST(Socket, ConnectWithALimitGivesUpAHostThatNeverAnswers) {
    Listener listener;
    std::vector<std::unique_ptr<CSocket>> queued;
    for (int i = 0; i < 16; ++i) {
        queued.push_back(std::make_unique<CSocket>());
        ASSERT_TRUE(queued.back()->Create());
        if (!queued.back()->Connect("127.0.0.1", listener.port, 300))
            break;
    }
    ASSERT_EQ(WSAETIMEDOUT, CAsyncSocket::GetLastError()) << "the queue never filled";
    CSocket socket;
    ASSERT_TRUE(socket.Create());
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(socket.Connect("127.0.0.1", listener.port, 1000));
    const DWORD waited = ::GetTickCount() - start;
    EXPECT_EQ(WSAETIMEDOUT, CAsyncSocket::GetLastError());
    EXPECT_GE(waited, 900u);
    EXPECT_LT(waited, 3000u);

    Listener open;
    ASSERT_TRUE(socket.Create());
    EXPECT_TRUE(socket.Connect("localhost", open.port, 1000)) << "a limit still connects";
}

// Addresses as "server object port", with " secure" for https, "-" when refused; a suffix goes
// on the path, before any query; a Content-Length is read strictly, however many leading zeros
// it has.
TEST(InternetSession, AddressesAndContentLengthsAreReadStrictly) {
    const std::pair<const char*, const char*> addresses[] = {
        {"http://example.test/a/b.exe?v=2&x=%20", "example.test /a/b.exe?v=2&x=%20 80"},
        {"https://example.test", "example.test / 443 secure"},
        {"HTTP://127.0.0.1:8080", "127.0.0.1 / 8080"},
        {"ftp://example.test/f", "-"},
        {"http://", "-"},
    };
    for (const auto& [url, expected] : addresses) {
        HttpAddress address;
        CString parsed("-");
        if (AfxParseHttpAddress(url, address))
            parsed.Format("%s %s %u%s", static_cast<const char*>(address.server),
                          static_cast<const char*>(address.object), address.port,
                          address.secure ? " secure" : "");
        EXPECT_STREQ(expected, parsed) << url;
    }
    const std::pair<const char*, const char*> appended[] = {
        {"http://h/m.xml", "http://h/m.xml.sig"},
        {"https://h:8/u/m.xml?v=2&x=%3F#top", "https://h:8/u/m.xml.sig?v=2&x=%3F#top"},
        {"http://h/m.xml#a?b", "http://h/m.xml.sig#a?b"},
        {"C:\\suite\\m.xml", "C:\\suite\\m.xml.sig"},
    };
    for (const auto& [address, expected] : appended)
        EXPECT_STREQ(expected, AfxAppendToPath(address, ".sig")) << address;
    ULONGLONG length = 0;
    EXPECT_TRUE(AfxParseContentLength(" 5000000000 ", length));
    EXPECT_EQ(5000000000u, length);
    EXPECT_TRUE(AfxParseContentLength(std::string(300, '0').append("7").c_str(), length));
    EXPECT_EQ(7u, length);
    for (const char* text : {"", "12a", "-1", "99999999999999999999999"})
        EXPECT_FALSE(AfxParseContentLength(text, length)) << text;
}

// A document type is refused before the parser sees it, in UTF-8 or UTF-16: 5 000 uses of a
// 50 000-character entity would take minutes. A file above its cap is not parsed at all.
TEST(XmlDocument, RefusesDocumentTypesAndFilesAboveTheirCap) {
    AfxEnableControlContainer();
    const std::string plain = "<R><E Name=\"A\"/></R>";
    std::string uses;
    for (int i = 0; i < 5000; ++i)
        uses += "&e;";
    const std::string quadratic = "<!DOCTYPE R [<!ENTITY e \"" + std::string(50000, 'x') +
                                  "\">]><R><E Name=\"" + uses + "\"/></R>";
    std::string wide = "\xFF\xFE";
    for (char c : quadratic)
        wide += std::string{c, '\0'};
    const std::string path = test_files::TempPath("framework-doc.xml");
    test_files::Write(path, plain);
    const std::pair<bool, BOOL> loads[] = {
        {true, LoadXmlDocument(CreateXmlDocument(), plain)},
        {false, LoadXmlDocument(CreateXmlDocument(), quadratic)},
        {false, LoadXmlDocument(CreateXmlDocument(), wide)},
        {true, LoadXmlFile(CreateXmlDocument(), path.c_str(), plain.size())},
        {false, LoadXmlFile(CreateXmlDocument(), path.c_str(), plain.size() - 1)},
    };
    for (size_t i = 0; i < std::size(loads); ++i)
        EXPECT_EQ(loads[i].first, !!loads[i].second) << i;
    CFile::Remove(path.c_str());
}

TEST(File, CreatesTruncatesWritesAndReadsBack) {
    const std::string path = test_files::TempPath("framework-file.bin");
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    EXPECT_TRUE(file.Write("0123456789", 10));
    EXPECT_TRUE(file.Close());

    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    EXPECT_TRUE(file.Write("ab", 2));
    file.Close();
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    char text[16] = {};
    EXPECT_EQ(2u, file.Read(text, sizeof text)) << "modeCreate empties an existing file";
    EXPECT_STREQ("ab", text);
    file.Close();
    EXPECT_TRUE(CFile::Remove(path.c_str()));
    EXPECT_FALSE(file.Open(path.c_str(), CFile::modeRead));
}

} // namespace
