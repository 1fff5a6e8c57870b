// Where the pieces and the result live: the one place that knows the piece
// count, which field names a row's folder, and the fixed file names. Rows are
// numbered 1 to 10, as the window shows them; row n holds piece n.
#pragma once

#include "framework/core/string.h"
#include "resources/resource.h"

// The number of pieces a file is split into, one per row of the window.
inline constexpr int kPieceCount = 10;

// The edit field that names the folder of row `row` (1..10).
constexpr int FolderFieldOfRow(int row) {
    return IDC_FOLDER_1 + row - 1;
}

// The path of the piece of row `row` (1..10) in `folder`: the folder text as
// typed, one separator, then "temp001".."temp010". Nothing is normalised.
CString PiecePath(const CString& folder, int row);

// The path of the result file in `folder`: the folder text as typed, one
// separator, then "temp".
CString ResultPath(const CString& folder);
