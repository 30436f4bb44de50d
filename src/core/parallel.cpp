#include "core/parallel.h"

#include <atomic>
#include <thread>

namespace {

// The second core's thread: started on first use, then asleep between calls. Waking it costs a
// few microseconds where creating a thread for every loop cost 20 to 50. Work handed to it goes
// through one state: posted, taken by the thread, finished. When the caller is done with its
// own part before the thread has even taken the work (the core is busy with another program,
// say), it takes the work back instead of waiting for the thread to be scheduled: the loop's
// parts claim their columns as they go, so the caller's part has then done them all.
class CSecondThread {
 public:
  static CSecondThread& Instance() {
    static CSecondThread* s_pThread = new CSecondThread;  // never destroyed: it runs to exit
    return *s_pThread;
  }

  bool Start(void (*pfnWork)(void*), void* pContext) {
    if (m_bBusy.exchange(true, std::memory_order_acquire)) return false;
    m_pfnWork = pfnWork;
    m_pContext = pContext;
    m_nState.store(kPosted, std::memory_order_release);
    m_nState.notify_all();
    return true;
  }

  void Wait() {
    int nState = kPosted;
    if (!m_nState.compare_exchange_strong(nState, kIdle, std::memory_order_acq_rel)) {
      while ((nState = m_nState.load(std::memory_order_acquire)) != kFinished) {
        m_nState.wait(nState, std::memory_order_acquire);
      }
      m_nState.store(kIdle, std::memory_order_relaxed);
    }
    m_bBusy.store(false, std::memory_order_release);
  }

 private:
  enum : int { kIdle, kPosted, kTaken, kFinished };

  CSecondThread() { std::thread([this] { Run(); }).detach(); }

  void Run() {
    for (;;) {
      int nState = m_nState.load(std::memory_order_acquire);
      if (nState != kPosted) {
        m_nState.wait(nState, std::memory_order_acquire);
        continue;
      }
      if (!m_nState.compare_exchange_strong(nState, kTaken, std::memory_order_acq_rel)) continue;
      m_pfnWork(m_pContext);
      m_nState.store(kFinished, std::memory_order_release);
      m_nState.notify_all();
    }
  }

  std::atomic<bool> m_bBusy{false};
  std::atomic<int> m_nState{kIdle};
  void (*m_pfnWork)(void*) = nullptr;
  void* m_pContext = nullptr;
};

}  // namespace

bool StartOnSecondThread(void (*pfnWork)(void*), void* pContext) {
  return CSecondThread::Instance().Start(pfnWork, pContext);
}

void WaitForSecondThread() { CSecondThread::Instance().Wait(); }
