#include "KnifeDecoder.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

using test::Bytes;

TEST(KnifeDecoder, RecordsFromGoldenBytes)
{
    const Bytes data = Bytes{}
                           .I32(264)
                           .I32(-3)
                           .Add({0, 0, 'M', 0})
                           .I32(0x01020304)
                           .I32(70000)
                           .Add({160, 5, 'F', 0})
                           .I32(-1)
                           .I32(0)
                           .Add({10, 255, 'H', 0});
    const KnifeData k = DecodeKnifeRecords(data.vec());
    EXPECT_TRUE(k.errors.empty());
    ASSERT_EQ(k.records.size(), 3u);
    EXPECT_EQ(k.records[0], (KnifeRecord{264, -3, 0, 0, 'M'}));
    EXPECT_EQ(k.records[1], (KnifeRecord{0x01020304, 70000, 160, 5, 'F'}));
    EXPECT_EQ(k.records[2], (KnifeRecord{-1, 0, 10, 255, 'H'}));
}

TEST(KnifeDecoder, DamagedData)
{
    struct Row {
        const char* name;
        Bytes data;
        std::size_t records;
        const char* error;
    };
    const Row rows[] = {
        {"not whole records", Bytes{}.I32(1).I32(2).Add({0, 0, 'M', 0, 7}), 1, "not whole records"},
        {"unknown code", Bytes{}.I32(1).I32(2).Add({0, 0, 'X', 0}), 1, "unknown code"},
        {"last byte set", Bytes{}.I32(1).I32(2).Add({0, 0, 'F', 1}), 1, "non-zero last byte"},
    };
    for (const Row& row : rows) {
        const KnifeData k = DecodeKnifeRecords(row.data.vec());
        EXPECT_EQ(k.records.size(), row.records) << row.name;
        ASSERT_EQ(k.errors.size(), 1u) << row.name;
        EXPECT_NE(k.errors[0].find(row.error), std::string::npos) << row.name << ": " << k.errors[0];
    }
}

} // namespace
} // namespace qv::sim
