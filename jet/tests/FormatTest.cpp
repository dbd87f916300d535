#include "Rc4.h"
#include "TestDatabase.h"
#include "Text.h"
#include "ValueText.h"

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
    // The bytes 1252 leaves unassigned read as Windows reads them.
    const std::uint8_t unassigned[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D, 0x8E, 0x9E};
    EXPECT_EQ(jet::text::fromCodePage(unassigned, sizeof unassigned, 1252),
              u8"\u0081\u008D\u008F\u0090\u009D\u017D\u017E");
    const std::uint8_t upper[] = {0xCF, 0xF0, 0xE8, 0x8A};
    EXPECT_EQ(jet::text::fromCodePage(upper, sizeof upper, 1251), u8"При\u0409");
    EXPECT_EQ(jet::text::fromCodePage(upper, sizeof upper, 1253), u8"\u039F\u03C0\u03B8\u008A");
    EXPECT_EQ(jet::text::fromCodePage(upper, sizeof upper, 932), u8"\u00CF\u00F0\u00E8\u0160");
}

TEST(ValueTextTest, ValuesReadAsTheDriverGivesThem) {
    namespace v = jet::value_text;
    const std::uint8_t guid[] = {0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE,
                                 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    const std::uint8_t numeric[17] = {0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xCE, 0x04, 0, 0};
    const char extended[] = "0000000000000737954:0000000819123456789:7";
    const char midnight[] = "0000000000000000000:0000000000000000000:7";
    const std::string cases[][2] = {
        {v::single(100000.0f), "100000"},
        {v::single(0.0001f), "0.0001"},
        {v::single(444.555f), "444.555"},
        {v::single(1.0f / 3), "0.3333333"},
        {v::single(1e-10f), "0.0000000001"},
        {v::single(1.5e-12f), "1.5E-12"},
        {v::single(3.4028235e38f), "3.402823E+38"},
        {v::real(0.0001), "0.0001"},
        {v::real(0.1 + 0.2), "0.3"},
        {v::real(1.0 / 3), "0.333333333333333"},
        {v::real(1e20), "100000000000000000000"},
        {v::real(1e300), "1E+300"},
        {v::real(-2.5e-300), "-2.5E-300"},
        {v::currency(35000), "3.5000"},
        {v::currency(INT64_MIN), "-922337203685477.5808"},
        {v::bigInteger(INT64_MIN), "-9223372036854775808"},
        {v::dateTime(0), "1899-12-30 00:00:00"},
        {v::dateTime(-1.5), "1899-12-29 12:00:00"},
        {v::dateTime(2.99999999), "1900-01-02 00:00:00"},
        {v::extendedDateTime(jet::Bytes(reinterpret_cast<const std::uint8_t*>(extended), 42)),
         "2021-06-14 22:45:12.3456789"},
        {v::extendedDateTime(jet::Bytes(reinterpret_cast<const std::uint8_t*>(midnight), 42)),
         "0001-01-01 00:00:00.0000000"},
        {v::guid(jet::Bytes(guid, sizeof guid)), "12345678-9ABC-DEF0-0123-456789ABCDEF"},
        {v::numeric(jet::Bytes(numeric, sizeof numeric), 2), "-12.30"},
        {v::numeric(jet::Bytes(numeric, sizeof numeric), 5), "-0.01230"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c[0], c[1]);

    for (std::string bad :
         {std::string(extended).replace(3, 1, "x"), std::string(extended).replace(19, 1, "."),
          std::string(extended).replace(20, 1, "9")})
        EXPECT_THROW(
            v::extendedDateTime(jet::Bytes(reinterpret_cast<const std::uint8_t*>(bad.data()), 42)),
            jet::Error)
            << bad;
}

#ifdef _WIN32
// The platform's reading of the bytes as UTF-8; U+FFFD when it finds them invalid.
std::string platformText(unsigned codePage, const std::uint8_t* bytes, int size, DWORD flags) {
    wchar_t wide[2] = {};
    const int count =
        MultiByteToWideChar(codePage, flags, reinterpret_cast<const char*>(bytes), size, wide, 2);
    if (count != 1)
        return u8"\uFFFD";
    char utf8[8] = {};
    return std::string(
        utf8, WideCharToMultiByte(CP_UTF8, 0, wide, 1, utf8, sizeof utf8, nullptr, nullptr));
}

// Every double-byte pair of 936 and every byte of the single-byte code pages reads as the
// platform reads it.
TEST(TextTest, CodePagesAgreeWithThePlatform) {
    int differences = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const std::uint8_t pair[] = {static_cast<std::uint8_t>(lead),
                                         static_cast<std::uint8_t>(trail)};
            const std::string read = jet::text::fromCodePage(pair, 2, 936);
            if (read != platformText(936, pair, 2, MB_ERR_INVALID_CHARS) && ++differences <= 10)
                ADD_FAILURE() << std::hex << lead << " " << trail << " reads as " << read;
        }
    for (unsigned codePage : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258})
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const std::uint8_t single[] = {static_cast<std::uint8_t>(byte)};
            const std::string read = jet::text::fromCodePage(single, 1, codePage);
            if (read != platformText(codePage, single, 1, 0) && ++differences <= 30)
                ADD_FAILURE() << codePage << " " << std::hex << byte << " reads as "
                              << jet::text::toUtf16(read)[0];
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
