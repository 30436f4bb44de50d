// Whole-window loops on both cores. The plane is column-major, so a window splits cleanly into
// two runs of columns; each part gets its own index for results it must keep apart.
#pragma once

#include <thread>

// Below this many pixels a second thread costs more than it saves.
inline constexpr long kParallelPixels = 128 * 1024;

// Calls fnColumns(nFirst, nEnd, nPart) for columns [0, nSplit) as part 0 on this thread and
// [nSplit, nWidth) as part 1 on a second one, or for all columns as part 0 when the window is
// small. The split falls on a multiple of 16 columns, so the two parts never write the same
// 64-byte line of a 32-bit image row.
template <typename Fn>
void ForColumnParts(int nWidth, int nHeight, Fn fnColumns) {
  if (nWidth < 32 || static_cast<long>(nWidth) * nHeight < kParallelPixels) {
    fnColumns(0, nWidth, 0);
    return;
  }
  const int nSplit = (nWidth / 2) & ~15;
  std::thread worker([&] { fnColumns(nSplit, nWidth, 1); });
  fnColumns(0, nSplit, 0);
  worker.join();
}
