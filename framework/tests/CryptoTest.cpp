#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <string>
#include <utility>

#include "framework/crypto/EcdsaP256Key.h"
#include "framework/crypto/Sha256.h"

namespace {

std::string Bytes(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

// The dialog's tests check signatures end to end; here the three DER forms of r that the
// platform's decoder must bring to the 32 bytes CNG takes: 32 bytes, 33 with a sign byte, 31.
// Made once with OpenSSL (`openssl dgst -sha256 -sign`) by a key that was thrown away.
const std::string kPoint =
    Bytes("75f7978c87122f02c465fb09393c9554655456c4769ff3d38574c74308723e74"
          "3fe87e35158c6836a09042afb858aac0f2001900474991e29be3d2a979e6ff2a");
const std::string kMessage = "<Update Start=\"a.exe\"/>\n";
const std::string kPlain = Bytes(
    "304402202a1f77559c1d8b7f7fcec38e9bbbad6d379bd8e18448eb312998755bfbcb3b74022008e527d79a6a8698"
    "7cf9df09c6cb0409f3a195c77286c28bc5951f1f0a6d7415");
const std::string kSignByte = Bytes(
    "3046022100fae894cb3c309e7c7c88bab2b84bb1e76d7e2d62ba519f2d8441d226b4704dc1022100cec253322ff8"
    "702d5ef2199df9dc0df08169bbdadb2f12799897717c95899aa8");
const std::string kShort = Bytes(
    "3044021f096119191d09a97664a18ad04f028211efbc2de492d792d982021a088c9996022100991a15d5c0426cc4"
    "1fced061fb570c231ab81820599490510089ccabd0c107a4");

} // namespace

TEST(EcdsaP256Key, TakesEveryDerFormOfASignature) {
    BYTE point[64];
    kPoint.copy(reinterpret_cast<char*>(point), sizeof(point));
    CEcdsaP256Key key;
    ASSERT_TRUE(key.Import(point));
    // The three forms verify; r and s as CNG takes them, without the DER around them, do not.
    const std::pair<bool, std::string> signatures[] = {
        {true, kPlain},
        {true, kSignByte},
        {true, kShort},
        {false, kPlain.substr(4, 32) + kPlain.substr(38, 32)}};
    for (size_t i = 0; i < std::size(signatures); ++i)
        EXPECT_EQ(signatures[i].first,
                  !!key.Verify(kMessage.data(), static_cast<DWORD>(kMessage.size()),
                               reinterpret_cast<const BYTE*>(signatures[i].second.data()),
                               static_cast<DWORD>(signatures[i].second.size())))
            << i;
}

// The published digest of "abc", in hex of either case; a digit off, short or long fails.
TEST(Sha256, FinishMatchesTheDigestInHex) {
    const std::string abc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
    std::string upper = abc;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::pair<std::string, bool> cases[] = {{abc, true},
                                                  {upper, true},
                                                  {"ca" + abc.substr(2), false},
                                                  {abc.substr(1), false},
                                                  {abc + "0", false}};
    for (const auto& [hex, matches] : cases) {
        CSha256 sha;
        sha.Update("abc", 3);
        EXPECT_EQ(matches, sha.FinishMatches(hex.c_str())) << hex;
    }
}
