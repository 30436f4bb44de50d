// Whole-window loops on both cores. The plane is column-major, so a window splits cleanly into
// runs of columns; each of the two threads keeps its own results apart by its part number.
#pragma once

#include <algorithm>
#include <atomic>
#include <thread>

// Hands pfnWork(pContext) to the program's second thread, which sleeps between calls; false (and
// nothing handed over) while another caller's work has it. Each true return needs one
// WaitForSecondThread(): it returns once the work is done, or at once, with the work not run at
// all, when the thread has not started it yet (so the work must be something the caller's own
// part can finish alone, as the column claims of ForColumnParts are).
bool StartOnSecondThread(void (*pfnWork)(void*), void* pContext);
void WaitForSecondThread();

// Below this many pixels a second thread costs more than it saves.
inline constexpr long kParallelPixels = 128 * 1024;

// Calls fnColumns(nFirst, nEnd, nPart) for disjoint runs of columns that together cover
// [0, nWidth): part 0 on this thread, part 1 on a second one (only part 0 for a small window).
// Part 0 works from the left edge and part 1 from the right, 32 columns at a time, until they
// meet: a thread that starts late or runs slowly simply takes fewer runs, and the two only
// ever work side by side at the one place where they meet. A part's calls follow each other
// on its own thread, so it can add into its own totals without locks (clear them before).
// Runs start on multiples of 32 columns, so the parts never write the same 64-byte line of a
// 32-bit image row.
template <typename Fn>
void ForColumnParts(int nWidth, int nHeight, Fn fnColumns) {
  if (nWidth < 64 || static_cast<long>(nWidth) * nHeight < kParallelPixels) {
    fnColumns(0, nWidth, 0);
    return;
  }
  constexpr int kRunColumns = 32;
  const int nRuns = (nWidth + kRunColumns - 1) / kRunColumns;
  std::atomic<int> nClaimed{0};
  auto work = [&](int nPart) {
    for (int nOwn = 0; nClaimed.fetch_add(1, std::memory_order_relaxed) < nRuns; ++nOwn) {
      // Run nOwn from this part's own edge: the claims keep the two ends from crossing.
      const int nRun = nPart == 0 ? nOwn : nRuns - 1 - nOwn;
      const int nFirst = nRun * kRunColumns;
      fnColumns(nFirst, std::min(nFirst + kRunColumns, nWidth), nPart);
    }
  };
  auto second = [&] { work(1); };
  using Second = decltype(second);
  if (StartOnSecondThread([](void* p) { (*static_cast<Second*>(p))(); }, &second)) {
    work(0);
    WaitForSecondThread();
    return;
  }
  std::thread worker(second);  // the second thread is taken (a loop inside a loop's work)
  work(0);
  worker.join();
}
