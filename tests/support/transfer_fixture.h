// What the split and join tests share: a test folder with a source file and
// ten piece folders named in a fake host's fields, and the checks that every
// transfer leaves the engine idle with its buffer released.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/fake_host.h"
#include "tests/support/temp_dir.h"

class TransferFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // "temp001" .. "temp010".
    static std::string PieceName(int row);
    // Where row `row`'s piece is written.
    std::filesystem::path Piece(int row) const;
    // Writes `bytes` as the source and splits it with ten presses, in `rows`
    // order (1 to 10 when empty).
    void SplitAll(const std::vector<unsigned char>& bytes, std::vector<int> rows = {});

    TempDir dir;
    FakeHost host;
    std::filesystem::path source;
    std::vector<std::filesystem::path> folders;
};

// The join tests' setting: a destination folder named in the host's field.
class JoinFixture : public TransferFixture {
protected:
    void SetUp() override;
    // The result file `temp` in the destination.
    std::filesystem::path Result() const { return dest / "temp"; }

    std::filesystem::path dest;
};
