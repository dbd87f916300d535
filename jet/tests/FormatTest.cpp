#include "Rc4.h"
#include "TestDatabase.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::string jet4Text(std::initializer_list<std::uint8_t> bytes) {
    std::vector<std::uint8_t> data(bytes);
    return jet::text::fromJet4(data.data(), data.size());
}

TEST(TextTest, CompressedUnicodeSwitchesModesAtZeroBytes) {
    EXPECT_EQ(jet4Text({0xFF, 0xFE, 'a', 'b'}), "ab");
    // Ends while in two-byte mode: the last character must not be lost.
    EXPECT_EQ(jet4Text({0xFF, 0xFE, 'a', 0x00, 0x17, 0x53, 0xAC, 0x4E}), u8"a北京");
    EXPECT_EQ(jet4Text({0xFF, 0xFE, 0x00, 0x17, 0x53, 0x00, 'x', 0xE4}), u8"北x\u00E4");
    // A two-byte run whose bytes are all below 0x80 is still two-byte text.
    EXPECT_EQ(jet4Text({0xFF, 0xFE, 0x00, 0x0A, 0x4E, 0x77, 0x6D, 0x02, 0x5E}), u8"上海市");
    EXPECT_EQ(jet4Text({0x17, 0x53, 'A', 0x00, 0x3D, 0xD8, 0x00, 0xDE}), u8"北A\U0001F600");
    EXPECT_EQ(jet4Text({0x00, 0xD8, 'A', 0x00}), u8"\uFFFDA");
}

TEST(TextTest, CodePagesOfJet3Databases) {
    const std::uint8_t gbk[] = {0xB1, 0xB1, 0xBE, 0xA9, 'x', 0x80, 0xB1};
    EXPECT_EQ(jet::text::fromCodePage(gbk, sizeof gbk, 936), u8"北京x\u20AC\uFFFD");
    const std::uint8_t western[] = {'U', 'm', 's', 0xE4, 't', 'z', 'e', 0x80, 0x99};
    EXPECT_EQ(jet::text::fromCodePage(western, sizeof western, 1252), u8"Ums\u00E4tze\u20AC\u2122");
}

#ifdef _WIN32
// Every double-byte pair reads as the platform's own code page 936 reads it.
TEST(TextTest, GbkAgreesWithThePlatformOnEveryPair) {
    int differences = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const std::uint8_t pair[] = {static_cast<std::uint8_t>(lead),
                                         static_cast<std::uint8_t>(trail)};
            wchar_t wide[2] = {};
            const int count = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS,
                                                  reinterpret_cast<const char*>(pair), 2, wide, 2);
            std::string expected = u8"\uFFFD";
            if (count == 1) {
                char utf8[8] = {};
                const int length =
                    WideCharToMultiByte(CP_UTF8, 0, wide, 1, utf8, sizeof utf8, nullptr, nullptr);
                expected.assign(utf8, length);
            }
            const std::string read = jet::text::fromCodePage(pair, 2, 936);
            if (read != expected && ++differences <= 10)
                ADD_FAILURE() << std::hex << lead << " " << trail << " reads as " << read;
        }
    EXPECT_EQ(0, differences);
}
#endif

TEST(TextTest, CaseFoldingCoversJetsCasedLetters) {
    EXPECT_TRUE(jet::text::equalIgnoringCase(u8"\u00C4RGER \u0416 \u03A3 \uFF21",
                                             u8"\u00E4rger \u0436 \u03C3 \uFF41"));
    EXPECT_FALSE(jet::text::equalIgnoringCase(u8"\u00D7", u8"\u00F7"));
    EXPECT_FALSE(jet::text::equalIgnoringCase(u8"北京", u8"北 京"));
}

// An encoded database scrambles every page but the header with RC4, keyed by the database key
// XOR the page number.
TEST(EncodedDatabaseTest, PagesAreDecodedWithTheDatabaseKey) {
    jet_test::TempFile file("encoded.mdb");
    jet::DatabaseWriter writer;
    writer.addTable(jet_test::zipdexTable());
    writer.save(file.path());
    std::string bytes = jet_test::readBytes(file.path());

    const std::uint32_t key = 0x1234ABCD;
    auto* header = reinterpret_cast<std::uint8_t*>(&bytes[0x18]);
    const std::uint8_t headerKey[] = {0xC7, 0xDA, 0x39, 0x6B};
    jet::rc4(headerKey, sizeof headerKey, header, 128);
    for (int i = 0; i < 4; ++i)
        header[0x3E - 0x18 + i] = static_cast<std::uint8_t>(key >> (8 * i));
    jet::rc4(headerKey, sizeof headerKey, header, 128);
    for (std::uint32_t page = 1; page < bytes.size() / 4096; ++page) {
        std::uint32_t pageKey = key ^ page;
        std::uint8_t rc4Key[4];
        for (int i = 0; i < 4; ++i)
            rc4Key[i] = static_cast<std::uint8_t>(pageKey >> (8 * i));
        jet::rc4(rc4Key, sizeof rc4Key, reinterpret_cast<std::uint8_t*>(&bytes[page * 4096]), 4096);
    }
    jet_test::writeBytes(file.path(), bytes);

    jet::Database database(file.path());
    EXPECT_EQ(jet_test::query(database, "SELECT DC FROM Zipdex WHERE YZBM = '071000'"),
              (jet_test::Rows{{u8"保定"}}));
}

} // namespace
