#include "engine/transfer.h"

#include <new>

std::int32_t TransferState = kTransferIdle;
std::int32_t PumpGuard = 0;

namespace {

int g_liveBuffers = 0;

// Page-aligned, so the kernel copies whole pages to and from it.
constexpr std::align_val_t kBufferAlignment{4096};

// Reads exactly `count` bytes or raises: a source that yields fewer bytes than
// its size promised has changed under us, and copying stale buffer bytes in
// their place would hand the user a corrupt piece reported as done.
void ReadExactly(CFile64& source, unsigned char* buffer, std::uint32_t count) {
    if (source.Read(buffer, count) != count) {
        throw CFileException(CFileException::endOfFile, -1, source.GetFilePath());
    }
}

}  // namespace

BOOL OpenForReading(CFile64& file, const CString& path) {
    return file.Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, nullptr, nullptr,
                     FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

BOOL OpenForWriting(CFile64& file, const CString& path, DWORD creation, bool* created) {
    BOOL opened =
        file.Open(path, GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, creation, nullptr, nullptr,
                  FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    // The open's own word: OPEN_ALWAYS reports a file that was there.
    const bool made =
        opened && (creation == CREATE_NEW ||
                   (creation == OPEN_ALWAYS && GetLastError() != ERROR_ALREADY_EXISTS));
    if (opened && IsLinkHandle(file.m_hFile)) {
        // Opened on the link itself, never written: let it go as it was.
        try {
            file.Close();
        } catch (const CFileException&) {
        }
        opened = FALSE;
    }
    if (created != nullptr) {
        *created = opened && made;
    }
    return opened;
}

void ShowPathMessage(TransferHost& host, const char16_t* message, const CString& path) {
    CString text;
    text.Format(message, path);
    host.ShowError(text);
}

PumpGuardScope::PumpGuardScope() : m_entered(PumpGuard == 0) {
    if (m_entered) {
        PumpGuard = 1;
    }
}

PumpGuardScope::~PumpGuardScope() {
    if (m_entered) {
        PumpGuard = 0;
    }
}

bool PassStartCheck() {
    if (TransferState != kTransferIdle) {
        TransferState = kTransferCancelRequested;
        return false;
    }
    return true;
}

RunningTransfer::RunningTransfer() {
    TransferState = kTransferRunning;
}

RunningTransfer::~RunningTransfer() {
    TransferState = kTransferIdle;
}

TransferBuffer::TransferBuffer()
    : m_data(static_cast<unsigned char*>(
          ::operator new[](ChunkSize, kBufferAlignment, std::nothrow))) {
    if (m_data == nullptr) {
        throw CMemoryException();
    }
    ++g_liveBuffers;
}

TransferBuffer::~TransferBuffer() {
    Release();
}

void TransferBuffer::Release() {
    if (m_data != nullptr) {
        ::operator delete[](m_data, kBufferAlignment);
        m_data = nullptr;
        --g_liveBuffers;
    }
}

int TransferBuffer::LiveCount() {
    return g_liveBuffers;
}

std::time_t SecondsClock::Now() const {
    return std::time(nullptr);
}

CString FormatProgressLine(std::int64_t chunkIndex, std::int64_t chunkCount, std::int32_t speed) {
    CString line;
    line.Format(u"%I64d%%  (%I64dM/%I64dM ) 処理速度：%dMB/s", chunkIndex * 100 / chunkCount,
                chunkIndex, chunkCount, speed);
    return line;
}

TransferResult CopyLoop(TransferHost& host, CFile64& source, CFile64& target,
                        TransferBuffer& buffer, std::int64_t length, const SecondsClock& clock) {
    std::time_t lastSecondSeen = 0;
    std::int32_t chunksInThatSecond = 0;
    std::int32_t speed = 0;

    const std::int64_t chunkCount = length / ChunkSize;
    const auto remainder = static_cast<std::uint32_t>(length % ChunkSize);

    for (std::int64_t i = 0; i < chunkCount; ++i) {
        // The figure is the number of chunks that began in the last whole
        // second; the chunk that opens a new second is not counted in it.
        const std::time_t now = clock.Now();
        if (now == lastSecondSeen) {
            ++chunksInThatSecond;
        } else {
            lastSecondSeen = now;
            speed = chunksInThatSecond;
            chunksInThatSecond = 0;
        }

        ReadExactly(source, buffer.data(), ChunkSize);
        target.Write(buffer.data(), ChunkSize);
        host.PumpMessages();
        host.SetStatusText(FormatProgressLine(i, chunkCount, speed));

        if (TransferState == kTransferCancelRequested) {
            TransferState = kTransferIdle;
            buffer.Release();
            return kTransferFailed;
        }
    }

    ReadExactly(source, buffer.data(), remainder);
    target.Write(buffer.data(), remainder);
    source.Close();
    target.Close();

    host.SetStatusText(u"100%");
    buffer.Release();
    TransferState = kTransferIdle;
    return kTransferCompleted;
}
