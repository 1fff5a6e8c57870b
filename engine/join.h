// Joining: one call puts one piece back into the result file `temp`.
#pragma once

#include "engine/piece_layout.h"
#include "engine/transfer.h"

// Puts the piece of row `row` (1..10), read from the row's folder, into `temp`
// in the destination folder; `temp` is created when missing and never made
// shorter than it was when the call began. Pieces 1 to 9 go to (row - 1) ×
// (piece size), in any order and as often as wanted; the tenth goes to the
// result's current end and only when that end is a multiple of 9 between
// 9 × (size − 9) and 9 × size, that is after the ninth. A press of the tenth
// that fails or is cancelled takes its bytes back out of `temp` (see
// ResultRollback).
// Returns kTransferCompleted when the whole piece was written and both files
// closed; kTransferFailed when refused by the start check, stopped with a
// message (shown through the host) or cancelled. File errors during
// positioning, copying or closing raise CFileException; the buffer is released
// and TransferState left idle on every way out.
TransferResult JoinPiece(TransferHost& host, int row);
