#include "core/parallel.h"

#include <atomic>
#include <thread>

namespace {

// The second core's thread: started on first use, then asleep between calls. Waking it costs a
// few microseconds where creating a thread for every loop cost 20 to 50.
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
    m_nStarted.fetch_add(1, std::memory_order_release);
    m_nStarted.notify_one();
    return true;
  }

  void Wait() {
    const unsigned nJob = m_nStarted.load(std::memory_order_relaxed);
    for (unsigned nDone = m_nDone.load(std::memory_order_acquire); nDone != nJob;
         nDone = m_nDone.load(std::memory_order_acquire)) {
      m_nDone.wait(nDone, std::memory_order_acquire);
    }
    m_bBusy.store(false, std::memory_order_release);
  }

 private:
  CSecondThread() { std::thread([this] { Run(); }).detach(); }

  void Run() {
    for (unsigned nSeen = 0;;) {
      m_nStarted.wait(nSeen, std::memory_order_acquire);
      nSeen = m_nStarted.load(std::memory_order_acquire);
      m_pfnWork(m_pContext);
      m_nDone.store(nSeen, std::memory_order_release);
      m_nDone.notify_one();
    }
  }

  std::atomic<bool> m_bBusy{false};
  std::atomic<unsigned> m_nStarted{0};
  std::atomic<unsigned> m_nDone{0};
  void (*m_pfnWork)(void*) = nullptr;
  void* m_pContext = nullptr;
};

}  // namespace

bool StartOnSecondThread(void (*pfnWork)(void*), void* pContext) {
  return CSecondThread::Instance().Start(pfnWork, pContext);
}

void WaitForSecondThread() { CSecondThread::Instance().Wait(); }
