#include <gtest/gtest.h>

#include "engine/transfer.h"
#include "tests/support/fake_host.h"
#include "tests/support/temp_dir.h"

TEST(ProgressLine, FormatsLikeTheStatusLine) {
    EXPECT_EQ(FormatProgressLine(1, 3, 2).ToUtf8(), "33%  (1M/3M ) 処理速度：2MB/s");
}
