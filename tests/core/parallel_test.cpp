// The split of whole-window loops between the two threads, checked on what each part was
// given: whatever the threads' timing, the runs must tile the window exactly once, each part
// must work inward from its own edge, and runs must start on 32-column boundaries.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "core/parallel.h"

namespace {

struct ColumnRun {
  int nFirst, nEnd, nPart;
};

std::vector<ColumnRun> RunsOf(int nWidth, int nHeight) {
  std::vector<ColumnRun> aRuns;
  std::mutex lock;
  ForColumnParts(nWidth, nHeight, [&](int nFirst, int nEnd, int nPart) {
    std::lock_guard<std::mutex> guard(lock);
    aRuns.push_back({nFirst, nEnd, nPart});
  });
  return aRuns;
}

}  // namespace

TEST(ColumnPartsTest, LargeWindowsAreTiledFromBothEdgesInAlignedRuns) {
  for (int nWidth : {1024, 1000, 800, 64, 97}) {
    for (int nRepeat = 0; nRepeat < 20; ++nRepeat) {
      const int nHeight = (128 * 1024 + nWidth - 1) / nWidth;  // just large enough for two parts
      std::vector<ColumnRun> aRuns = RunsOf(nWidth, nHeight);
      std::vector<int> anCover(static_cast<std::size_t>(nWidth), 0);
      std::vector<int> anLastFirst = {-1, nWidth + 1};
      for (const ColumnRun& run : aRuns) {
        ASSERT_TRUE(run.nPart == 0 || run.nPart == 1);
        EXPECT_EQ(run.nFirst % 32, 0) << nWidth;
        EXPECT_EQ(run.nEnd, std::min(run.nFirst + 32, nWidth)) << nWidth;
        for (int x = run.nFirst; x < run.nEnd; ++x) ++anCover[static_cast<std::size_t>(x)];
        // Part 0 moves right from column 0, part 1 left from the last run, one run at a time.
        if (run.nPart == 0) {
          EXPECT_EQ(run.nFirst, anLastFirst[0] < 0 ? 0 : anLastFirst[0] + 32) << nWidth;
        } else {
          EXPECT_EQ(run.nFirst, anLastFirst[1] > nWidth ? (nWidth - 1) / 32 * 32
                                                        : anLastFirst[1] - 32)
              << nWidth;
        }
        anLastFirst[static_cast<std::size_t>(run.nPart)] = run.nFirst;
      }
      EXPECT_TRUE(std::all_of(anCover.begin(), anCover.end(), [](int n) { return n == 1; }))
          << "every column exactly once, width " << nWidth;
    }
  }
}

TEST(ColumnPartsTest, SmallWindowsStayOnOneThreadInOneCall) {
  for (const auto& [nWidth, nHeight] : {std::pair{63, 4000}, std::pair{512, 255}, {1, 1}}) {
    const std::vector<ColumnRun> aRuns = RunsOf(nWidth, nHeight);
    ASSERT_EQ(aRuns.size(), 1u) << nWidth << " x " << nHeight;
    EXPECT_EQ(aRuns[0].nFirst, 0);
    EXPECT_EQ(aRuns[0].nEnd, nWidth);
    EXPECT_EQ(aRuns[0].nPart, 0);
  }
}

// The second thread serves one loop at a time: a loop started inside another loop's work, or
// from another thread while it is taken, still runs on two threads and covers every column once.
TEST(ColumnPartsTest, LoopsInsideLoopsAndFromTwoThreadsAtOnceEachCoverTheirWindow) {
  auto CoversOnce = [](int nWidth) {
    const std::vector<ColumnRun> aRuns = RunsOf(nWidth, 1024);
    std::vector<int> anCover(static_cast<std::size_t>(nWidth), 0);
    for (const ColumnRun& run : aRuns) {
      for (int x = run.nFirst; x < run.nEnd; ++x) ++anCover[static_cast<std::size_t>(x)];
    }
    return std::all_of(anCover.begin(), anCover.end(), [](int n) { return n == 1; });
  };
  std::atomic<int> nInnerWrong{0}, nOuterColumns{0};
  ForColumnParts(1024, 1024, [&](int nFirst, int nEnd, int) {
    nInnerWrong += CoversOnce(nFirst + 200) ? 0 : 1;
    nOuterColumns += nEnd - nFirst;
  });
  EXPECT_EQ(nInnerWrong, 0);
  EXPECT_EQ(nOuterColumns, 1024);

  std::atomic<int> nWrong{0};
  auto loops = [&] {
    for (int i = 0; i < 200; ++i) nWrong += CoversOnce(900 + i) ? 0 : 1;
  };
  std::thread other(loops);
  loops();
  other.join();
  EXPECT_EQ(nWrong, 0);
}
