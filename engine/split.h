// Splitting: one call writes one of the ten pieces of the source file.
#pragma once

#include <cstdint>

#include "engine/piece_layout.h"
#include "engine/transfer.h"

// What a lookup of a path finds: 0 nothing, 1 a file, 2 a folder, 3 a dot
// entry ("." or ".."). Used to word the message when a piece cannot be made.
std::int32_t PathProbe(const CString& path);

// Writes the piece of row `row` (1..10) of the file named in the source field
// into the row's folder, under its fixed name; the piece must not exist yet,
// and the source must be a file (not a device or a pipe). Pieces 1 to 9 hold
// S / 10 bytes each from offset (row - 1) × (S / 10), piece 10 the rest.
// Returns kTransferCompleted when the piece was written, kTransferFailed when
// refused by the start check, stopped with a message (shown through the host)
// or cancelled. File errors during positioning, copying or closing raise
// CFileException; the buffer is released and TransferState left idle on every
// way out.
TransferResult SplitPiece(TransferHost& host, int row);
