// What the split and the join of one piece share: the process-wide transfer
// state, the pump guard, the 1 MiB transfer buffer, the window services the
// engine asks for (TransferHost) and the chunked copy loop.
//
// Everything runs on the window's one thread. Cancellation is cooperative: a
// request is only recorded in TransferState, and the copy loop looks at it
// once per chunk.
#pragma once

#include <cstdint>
#include <ctime>

#include "engine/file64.h"
#include "framework/core/string.h"

// The result of one split or join of one piece.
using TransferResult = int;
inline constexpr TransferResult kTransferCompleted = 0;
inline constexpr TransferResult kTransferFailed = -1;  // refused, failed with a message, cancelled

// Values of TransferState.
inline constexpr std::int32_t kTransferIdle = 0;
inline constexpr std::int32_t kTransferRunning = 1;
inline constexpr std::int32_t kTransferCancelRequested = 2;

// The engine's only busy flag: 0 idle, 1 running, 2 cancel requested.
extern std::int32_t TransferState;
// 1 while the host's PumpMessages is handling messages, so it does not nest.
extern std::int32_t PumpGuard;

// Every read and write of a transfer moves at most this many bytes.
inline constexpr std::uint32_t ChunkSize = 0x100000;

// The window services the engine uses; provided by the main dialog (and by a
// fake in the tests). All are called on the window's thread.
class TransferHost {
public:
    virtual ~TransferHost() = default;
    // The text of the edit field `controlId`, exactly as typed.
    virtual CString GetFieldText(int controlId) = 0;
    // Replaces the whole status line.
    virtual void SetStatusText(const CString& text) = 0;
    // A modal error box titled "TSKエラー" with the stop icon and one OK button.
    virtual void ShowError(const CString& text) = 0;
    // Handles every pending window event, never waits, and does nothing when
    // already inside this call (see PumpGuardScope).
    virtual void PumpMessages() = 0;
};

// Opens the file a transfer reads: others may read it meanwhile, nobody may
// write it; read from start to end. FALSE when it cannot be opened.
BOOL OpenForReading(CFile64& file, const CString& path);
// Opens the file a transfer writes, with no other open of it allowed;
// `creation` is CREATE_NEW, OPEN_ALWAYS or OPEN_EXISTING. FALSE when it
// cannot be opened, and when a link stands at its name: in a folder that
// others can write to, a planted link must not send the data elsewhere.
// `created`, when given, tells whether this open made the file.
BOOL OpenForWriting(CFile64& file, const CString& path, DWORD creation, bool* created = nullptr);

// Shows `message`, whose one %s is filled with `path`, in the host's error box.
void ShowPathMessage(TransferHost& host, const char16_t* message, const CString& path);

// Enters the pump for the life of the object unless the pump is already
// running; `entered()` tells which. Leaves PumpGuard at 0 on every way out.
class PumpGuardScope {
public:
    PumpGuardScope();
    ~PumpGuardScope();
    PumpGuardScope(const PumpGuardScope&) = delete;
    PumpGuardScope& operator=(const PumpGuardScope&) = delete;
    bool entered() const { return m_entered; }

private:
    bool m_entered;
};

// The start check of a split or join: when a transfer is already under way
// (or stopping), records a cancel request and returns false; the caller then
// returns kTransferFailed without doing anything else.
bool PassStartCheck();

// Marks the transfer running for the life of the object and idle again on
// every way out, a file exception included.
class RunningTransfer {
public:
    RunningTransfer();
    ~RunningTransfer();
    RunningTransfer(const RunningTransfer&) = delete;
    RunningTransfer& operator=(const RunningTransfer&) = delete;
};

// The one 1 MiB block every chunk passes through. Allocated on construction
// (raises CMemoryException when it cannot be had), freed by Release() or, at
// the latest, by the destructor: exactly once on every way out.
class TransferBuffer {
public:
    TransferBuffer();
    ~TransferBuffer();
    TransferBuffer(const TransferBuffer&) = delete;
    TransferBuffer& operator=(const TransferBuffer&) = delete;

    unsigned char* data() { return m_data; }
    bool IsHeld() const { return m_data != nullptr; }
    void Release();

    // How many buffers are held right now in this process (0 or 1 in use).
    static int LiveCount();

private:
    unsigned char* m_data;
};

// The wall clock in whole seconds, for the speed figure. Tests substitute it.
class SecondsClock {
public:
    virtual ~SecondsClock() = default;
    virtual std::time_t Now() const;
};

// Copies `length` bytes (at least 0) from `source`, already positioned, to
// `target`, already positioned, in ChunkSize chunks through `buffer`, with one
// pump, one progress line and one cancel check per full chunk.
// Expects TransferState 1. Returns kTransferCompleted after closing both files,
// showing "100%", releasing the buffer and setting TransferState to 0; or
// kTransferFailed on a cancel request, with TransferState 0, the buffer
// released and both files still open. File errors of Read, Write and Close
// pass through; a read that returns fewer bytes than asked (the source got
// shorter) raises CFileException endOfFile with the source's path, before
// anything of that chunk is written.
TransferResult CopyLoop(TransferHost& host, CFile64& source, CFile64& target,
                        TransferBuffer& buffer, std::int64_t length,
                        const SecondsClock& clock = SecondsClock());

// The progress line of one full chunk.
CString FormatProgressLine(std::int64_t chunkIndex, std::int64_t chunkCount, std::int32_t speed);
