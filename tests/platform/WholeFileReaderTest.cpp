// Whole reads of a file that changes size between its status and the read.
#include "platform/WholeFileReader.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace quarvel::platform {
namespace {

TEST(WholeFileReaderTest, KeepsBytesAddedAndDropsBytesCutSinceTheSizeWasTaken) {
    const test::TempDir dir;
    std::string bytes;
    for (int i = 0; bytes.size() < 100'000; ++i)
        bytes += "[Area." + std::to_string(i) + "]\r\n";
    const Result<WholeFileReader> reader = WholeFileReader::open(dir.write("scenery.cfg", bytes));
    ASSERT_TRUE(reader.ok());
    // Grown since: everything up to the end, through more than one enlargement of the buffer.
    EXPECT_EQ(reader.value().read(10, bytes.size()).value().view(), bytes);
    // Cut since: what is there.
    EXPECT_EQ(reader.value().read(bytes.size() + 50, bytes.size() + 50).value().view(), bytes);
    // Grown past the limit while read.
    EXPECT_EQ(reader.value().read(10, 5'000).failure().errorNumber, EFBIG);
}

} // namespace
} // namespace quarvel::platform
