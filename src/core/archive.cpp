#include "core/archive.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace {

// One conversion from UTF-8 to code page 932 or back. With bReplace a sequence that does not
// convert becomes "?" (one input byte skipped); without, the conversion fails.
std::optional<std::string> Convert(const char* szTo, const char* szFrom, std::string_view str,
                                   bool bReplace) {
  iconv_t cd = iconv_open(szTo, szFrom);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string strOut;
  char* pIn = const_cast<char*>(str.data());
  std::size_t nIn = str.size();
  char achBuffer[256];
  bool bOk = true;
  while (nIn > 0) {
    char* pOut = achBuffer;
    std::size_t nOut = sizeof achBuffer;
    const std::size_t nResult = iconv(cd, &pIn, &nIn, &pOut, &nOut);
    strOut.append(achBuffer, static_cast<std::size_t>(pOut - achBuffer));
    if (nResult != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ, or EINVAL for a sequence cut off at the end.
    if (!bReplace) {
      bOk = false;
      break;
    }
    strOut += '?';
    ++pIn;
    --nIn;
  }
  iconv_close(cd);
  if (!bOk) return std::nullopt;
  return strOut;
}

void PutLength(ByteBuffer& ab, std::size_t n) {
  auto put32 = [&](std::uint32_t u, int nBytes) {
    for (int i = 0; i < nBytes; ++i) ab.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
  };
  if (n < 0xFF) {
    put32(static_cast<std::uint32_t>(n), 1);
  } else if (n < 0xFFFE) {
    put32(0xFF, 1);
    put32(static_cast<std::uint32_t>(n), 2);
  } else {
    put32(0xFF, 1);
    put32(0xFFFF, 2);
    put32(static_cast<std::uint32_t>(n), 4);
  }
}

}  // namespace

std::optional<std::string> Utf8ToShiftJis(std::string_view strUtf8) {
  // The wave dash most input methods here type is the full-width tilde of code page 932.
  std::string str(strUtf8);
  static constexpr std::string_view kWaveDash = "\u301C", kTilde = "\uFF5E";
  for (std::size_t n = str.find(kWaveDash); n != std::string::npos; n = str.find(kWaveDash, n)) {
    str.replace(n, kWaveDash.size(), kTilde);
  }
  return Convert("CP932", "UTF-8", str, false);
}

std::string ShiftJisToUtf8(std::string_view strShiftJis) {
  return Convert("UTF-8", "CP932", strShiftJis, true).value_or(std::string());
}

void ArchiveWriter::Int(std::int32_t n) {
  const auto u = static_cast<std::uint32_t>(n);
  for (int i = 0; i < 4; ++i) m_ab.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

void ArchiveWriter::Bytes(const std::uint8_t* pb, std::size_t n) { m_ab.insert(m_ab.end(), pb, pb + n); }

bool ArchiveWriter::String(std::string_view strUtf8) {
  const std::optional<std::string> str = Utf8ToShiftJis(strUtf8);
  if (!str) return false;
  RawString(*str);
  return true;
}

void ArchiveWriter::RawString(std::string_view strShiftJis) {
  PutLength(m_ab, strShiftJis.size());
  Bytes(reinterpret_cast<const std::uint8_t*>(strShiftJis.data()), strShiftJis.size());
}

bool ArchiveReader::Int(std::int32_t& n) {
  if (Remaining() < 4) return false;
  std::uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= std::uint32_t{m_ab[m_nOffset + static_cast<std::size_t>(i)]} << (8 * i);
  n = static_cast<std::int32_t>(u);
  m_nOffset += 4;
  return true;
}

bool ArchiveReader::Ints(int* pn, int nCount) {
  for (int i = 0; i < nCount; ++i) {
    std::int32_t n = 0;
    if (!Int(n)) return false;
    pn[i] = n;
  }
  return true;
}

bool ArchiveReader::Bytes(std::uint8_t* pb, std::size_t n) {
  if (Remaining() < n) return false;
  std::memcpy(pb, m_ab.data() + m_nOffset, n);
  m_nOffset += n;
  return true;
}

bool ArchiveReader::View(std::size_t n, std::span<const std::uint8_t>& ab) {
  if (Remaining() < n) return false;
  ab = m_ab.subspan(m_nOffset, n);
  m_nOffset += n;
  return true;
}

bool ArchiveReader::String(std::string& strUtf8) {
  const std::size_t nStart = m_nOffset;
  auto get = [&](int nBytes, std::uint32_t& u) {
    if (Remaining() < static_cast<std::size_t>(nBytes)) return false;
    u = 0;
    for (int i = 0; i < nBytes; ++i) u |= std::uint32_t{m_ab[m_nOffset++]} << (8 * i);
    return true;
  };
  std::uint32_t n = 0;
  bool bOk = get(1, n);
  if (bOk && n == 0xFF) bOk = get(2, n);
  if (bOk && n == 0xFFFF) bOk = get(4, n);
  if (!bOk || Remaining() < n) {
    m_nOffset = nStart;
    return false;
  }
  strUtf8 = ShiftJisToUtf8(std::string_view(reinterpret_cast<const char*>(m_ab.data() + m_nOffset), n));
  m_nOffset += n;
  return true;
}
