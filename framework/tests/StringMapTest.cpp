#include <gtest/gtest.h>

#include <string>

#include "framework/base/SipHash.h"
#include "framework/base/StringMap.h"

namespace {

TEST(StringMap, KeysMatchExactlyAndTheLastValueWins) {
    CMapStringToString map;
    map.SetAt("Alpha", "1");
    map.SetAt("alpha", "2");
    map.SetAt("Alpha", "3");
    map.SetAt("", "empty");
    map.SetAt("申通快递", "http://sto");
    EXPECT_EQ(4, map.GetCount());
    const struct {
        const char* key;
        bool found;
        const char* value;
    } lookups[] = {{"Alpha", true, "3"},
                   {"alpha", true, "2"},
                   {"ALPHA", false, ""},
                   {"", true, "empty"},
                   {"申通快递", true, "http://sto"},
                   {"申通", false, ""}};
    for (const auto& lookup : lookups) {
        CString value;
        EXPECT_EQ(lookup.found, !!map.Lookup(lookup.key, value)) << lookup.key;
        EXPECT_STREQ(lookup.value, value) << lookup.key;
    }
}

// Enough keys for the table to grow several times under them.
TEST(StringMap, EntriesComeInBlocks) {
    CMapStringToString map(10);
    EXPECT_EQ(0, map.GetAllocatedCount());
    for (int i = 0; i < 2005; ++i)
        map[("key" + std::to_string(i)).c_str()] = "value" + std::to_string(i);
    EXPECT_EQ(2005, map.GetCount());
    EXPECT_EQ(2010, map.GetAllocatedCount());
    CString value;
    for (int i = 0; i < 2005; ++i) {
        ASSERT_TRUE(map.Lookup(("key" + std::to_string(i)).c_str(), value)) << i;
        EXPECT_EQ("value" + std::to_string(i), value.str());
    }
    for (int i = 0; i < 5; ++i)
        map.SetAt(("new" + std::to_string(i)).c_str(), "v");
    EXPECT_EQ(2010, map.GetAllocatedCount()) << "the block is used up before a new one";
    map.SetAt("one more", "v");
    EXPECT_EQ(2020, map.GetAllocatedCount());
}

// The reference vectors: key 00 01 ... 0f, message 00 01 ... of each length.
TEST(StringMap, SipHashGivesThePublishedValues) {
    const SipHashKey key{0x0706050403020100ull, 0x0f0e0d0c0b0a0908ull};
    const std::pair<size_t, std::uint64_t> vectors[] = {
        {0, 0x726fdb47dd0e0e31ull},  {1, 0x74f839c593dc67fdull},  {7, 0xab0200f58b01d137ull},
        {8, 0x93f5f5799a932462ull},  {15, 0xa129ca6149be45e5ull}, {16, 0x3f2acc7f57c29bdbull},
        {63, 0x958a324ceb064572ull},
    };
    unsigned char message[64];
    for (size_t i = 0; i < sizeof message; ++i)
        message[i] = static_cast<unsigned char>(i);
    for (const auto& [size, expected] : vectors)
        EXPECT_EQ(expected, SipHash24(key, message, size)) << size;
    const SipHashKey first = RandomSipHashKey();
    const SipHashKey second = RandomSipHashKey();
    EXPECT_NE(SipHash24(first, message, 8), SipHash24(second, message, 8));
}

// 4 096 names made of the blocks "aZ" and "b9" share one value under an unkeyed hash
// (h * 33 + c) and would share one chain.
TEST(StringMap, NamesBuiltToCollideSpreadOut) {
    CMapStringToString map;
    for (int bits = 0; bits < 4096; ++bits) {
        std::string name;
        for (int block = 0; block < 12; ++block)
            name += bits >> block & 1 ? "aZ" : "b9";
        map[name.c_str()] = name;
    }
    EXPECT_EQ(4096, map.GetCount());
    EXPECT_LE(map.GetLongestChain(), 12);
}

} // namespace
