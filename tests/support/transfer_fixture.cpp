#include "tests/support/transfer_fixture.h"

#include "engine/split.h"
#include "platform/fault_injection.h"
#include "resources/resource.h"

void TransferFixture::SetUp() {
    TransferState = kTransferIdle;
    source = dir.path() / "source.bin";
    host.SetField(IDC_SOURCE_PATH, ToCString(source));
    for (int row = 1; row <= 10; ++row) {
        const std::filesystem::path folder = dir.path() / ("card" + std::to_string(row));
        std::filesystem::create_directory(folder);
        folders.push_back(folder);
        host.SetField(IDC_FOLDER_1 + row - 1, ToCString(folder));
    }
}

void JoinFixture::SetUp() {
    TransferFixture::SetUp();
    dest = dir.path() / "restored";
    std::filesystem::create_directory(dest);
    host.SetField(IDC_DEST_FOLDER, ToCString(dest));
}

void TransferFixture::TearDown() {
    EXPECT_EQ(TransferState, kTransferIdle);
    EXPECT_EQ(TransferBuffer::LiveCount(), 0);
    EXPECT_EQ(PumpGuard, 0);
    TransferState = kTransferIdle;
    fault_injection::ClearFailures();
}

std::string TransferFixture::PieceName(int row) {
    return PieceFile("", row).filename().string();
}

std::filesystem::path TransferFixture::Piece(int row) const {
    return PieceFile(folders[row - 1], row);
}

void TransferFixture::SplitAll(const std::vector<unsigned char>& bytes, std::vector<int> rows) {
    WriteAll(source, bytes);
    if (rows.empty()) {
        rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    }
    for (int row : rows) {
        ASSERT_EQ(SplitPiece(host, row), kTransferCompleted) << "split row " << row;
    }
    EXPECT_TRUE(host.errors.empty());
}
