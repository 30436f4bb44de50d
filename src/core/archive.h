// The work file's archive encoding: 32-bit little-endian integers, raw bytes and strings with a
// one-, three- or seven-byte length prefix, the characters in Shift-JIS (code page 932). The
// program's own strings are UTF-8; they are converted on the way in and out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/file_io.h"

// strUtf8 in Shift-JIS, or nothing when a character has no Shift-JIS form (or the text is not
// UTF-8).
std::optional<std::string> Utf8ToShiftJis(std::string_view strUtf8);
// Shift-JIS bytes as UTF-8; a byte (or pair) that does not decode becomes "?".
std::string ShiftJisToUtf8(std::string_view strShiftJis);

class ArchiveWriter {
 public:
  ArchiveWriter() = default;
  // Writes into ab, emptied first; its memory is kept.
  explicit ArchiveWriter(ByteBuffer&& ab) : m_ab(std::move(ab)) { m_ab.clear(); }

  void Int(std::int32_t n);
  void Bytes(const std::uint8_t* pb, std::size_t n);
  // The string in Shift-JIS with its length prefix; false (nothing written) when it has no
  // Shift-JIS form.
  bool String(std::string_view strUtf8);
  // Shift-JIS bytes as they are, with their length prefix.
  void RawString(std::string_view strShiftJis);

  const ByteBuffer& Data() const { return m_ab; }
  ByteBuffer& Data() { return m_ab; }

 private:
  ByteBuffer m_ab;
};

// Reads from a whole file in memory; every read fails, without moving on, when the data ends
// before the value does.
class ArchiveReader {
 public:
  explicit ArchiveReader(std::span<const std::uint8_t> ab) : m_ab(ab) {}

  bool Int(std::int32_t& n);
  // nCount integers into pn[0..nCount).
  bool Ints(int* pn, int nCount);
  bool Bytes(std::uint8_t* pb, std::size_t n);
  // The next n bytes as they lie in the data.
  bool View(std::size_t n, std::span<const std::uint8_t>& ab);
  // A string as UTF-8 (see ShiftJisToUtf8).
  bool String(std::string& strUtf8);

  std::size_t Offset() const { return m_nOffset; }
  std::size_t Remaining() const { return m_ab.size() - m_nOffset; }

 private:
  std::span<const std::uint8_t> m_ab;
  std::size_t m_nOffset = 0;
};
