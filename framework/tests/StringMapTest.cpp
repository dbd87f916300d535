#include <gtest/gtest.h>

#include <string>

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
TEST(StringMap, EveryKeyIsFoundAfterTheTableGrew) {
    CMapStringToString map(10);
    for (int i = 0; i < 2005; ++i)
        map[("key" + std::to_string(i)).c_str()] = "value" + std::to_string(i);
    EXPECT_EQ(2005, map.GetCount());
    CString value;
    for (int i = 0; i < 2005; ++i) {
        ASSERT_TRUE(map.Lookup(("key" + std::to_string(i)).c_str(), value)) << i;
        EXPECT_EQ("value" + std::to_string(i), value.str());
    }
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
