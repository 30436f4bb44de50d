// What every fuzz target shares: a program set up once (features registered, a platform that
// answers OK and draws nothing), a folder in memory for the files a target writes, a digest of
// the program state, a watch on the pixel plane, and the two checks: a refused input changes
// nothing, an accepted one leaves a consistent state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Once per process; returns the folder for the target's files.
const std::string& FuzzSetUp();

// Starts a run under test: returns a 64-bit digest of the program state apart from the pixel
// plane (the settings, the texts, the histograms, the display state), and makes the 18 MB plane
// read-only so that the first write to it is noticed (it is writable again from then on).
// Reading the plane costs nothing, where digesting it took milliseconds a run.
std::uint64_t BeginRun();

// Writes the bytes to a file of the fuzz folder and returns its path.
std::string WriteFuzzFile(const std::string& strName, const std::uint8_t* pData, std::size_t nSize);

// A scene of 40 x 30 with nBands bands and a training mark, as an import leaves it, so that a
// refused input has loaded work to leave alone.
void LoadFuzzScene(int nBands);

// Ends the run begun by BeginRun and aborts (a finding) when its outcome breaks what must hold:
// bAccepted with an inconsistent state, or refused with a state other than the one before or
// with any write to the pixel plane (a refused import stages what it reads and commits nothing,
// so this is stricter than comparing the plane's values).
void CheckOutcome(bool bAccepted, std::uint64_t nDigestBefore, const char* szWhat);

// Reads little-endian fields off the front of the input; zeros once it is used up.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* pData, std::size_t nSize) : m_p(pData), m_n(nSize) {}
  std::uint8_t Byte() { return m_n ? (--m_n, *m_p++) : 0; }
  std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }
  std::vector<std::uint8_t> Rest() { return std::vector<std::uint8_t>(m_p, m_p + m_n); }

 private:
  const std::uint8_t* m_p;
  std::size_t m_n;
};
