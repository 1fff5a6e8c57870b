// Whether the medium a press writes to can take what the press will write,
// asked before the first byte is written. A 100 GB file makes 10 GB pieces:
// a card that is too small, or a FAT card (files of at most 4 GiB - 1
// bytes), would otherwise take minutes of writing before the press failed
// with the disk full and a partial piece to delete.
#pragma once

#include <cstdint>

#include "engine/transfer.h"

// The file at `path` (open for writing, in `folder` as the user typed it) is
// to receive `bytesToWrite` more bytes and end up `resultingSize` bytes long.
// When its file system cannot take that, returns the refusal to show, naming
// the folder, what is needed and what is there. Empty when there is room,
// and when the system cannot say (the full-disk error of the writes then
// still reports what no check foresaw).
CString RoomRefusal(const CString& folder, const CString& path, std::int64_t bytesToWrite,
                    std::int64_t resultingSize);

// Takes back a file that this press created and has not written to: closes
// it and removes it, so a refused press leaves nothing that would refuse the
// next one. A removal that fails is dropped: the refusal the press shows is
// what the user must hear of, and a file left behind names itself in the
// next press's message.
void RemoveUnwrittenFile(CFile64& file, const CString& path);
