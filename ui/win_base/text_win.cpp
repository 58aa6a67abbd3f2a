// UTF-8 / UTF-16 / code page conversions over MultiByteToWideChar and
// WideCharToMultiByte. The Win32 calls take int lengths, so input is converted
// in pieces cut on character boundaries; a piece never splits a UTF-8 sequence
// or a surrogate pair, which would otherwise turn one good character into two
// replacement characters.
#include "ui/win_base/text_win.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstddef>

namespace ui {
namespace {

// Well below INT_MAX so the converted output of a piece also fits in an int.
constexpr std::size_t kMaxPiece = 1u << 28;

}  // namespace

std::size_t Utf8PieceLength(std::string_view s, std::size_t limit) {
  if (s.size() <= limit) return s.size();
  std::size_t n = limit;
  // Back up over at most three continuation bytes to the lead byte.
  for (int i = 0; i < 3 && n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80; ++i) --n;
  return n == 0 ? limit : n;
}

std::size_t Utf16PieceLength(std::wstring_view s, std::size_t limit) {
  if (s.size() <= limit) return s.size();
  std::size_t n = limit;
  if (s[n - 1] >= 0xD800 && s[n - 1] <= 0xDBFF) --n;  // keep the pair together
  return n;
}

namespace {

void AppendWide(std::string_view piece, std::wstring& out) {
  const int inLen = static_cast<int>(piece.size());
  const int outLen = MultiByteToWideChar(CP_UTF8, 0, piece.data(), inLen, nullptr, 0);
  if (outLen <= 0) return;
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(outLen));
  const int written =
      MultiByteToWideChar(CP_UTF8, 0, piece.data(), inLen, out.data() + at, outLen);
  out.resize(at + static_cast<std::size_t>(std::max(written, 0)));
}

bool AppendMultiByte(std::wstring_view piece, unsigned codePage, std::string& out) {
  const int inLen = static_cast<int>(piece.size());
  const int outLen =
      WideCharToMultiByte(codePage, 0, piece.data(), inLen, nullptr, 0, nullptr, nullptr);
  if (outLen <= 0) return false;
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(outLen));
  const int written = WideCharToMultiByte(codePage, 0, piece.data(), inLen, out.data() + at,
                                          outLen, nullptr, nullptr);
  out.resize(at + static_cast<std::size_t>(std::max(written, 0)));
  return written > 0;
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
  std::wstring out;
  while (!utf8.empty()) {
    const std::size_t n = Utf8PieceLength(utf8, kMaxPiece);
    AppendWide(utf8.substr(0, n), out);
    utf8.remove_prefix(n);
  }
  return out;
}

std::string Narrow(std::wstring_view wide) {
  std::string out;
  while (!wide.empty()) {
    const std::size_t n = Utf16PieceLength(wide, kMaxPiece);
    AppendMultiByte(wide.substr(0, n), CP_UTF8, out);
    wide.remove_prefix(n);
  }
  return out;
}

std::string ToCodePage(std::string_view utf8, unsigned codePage) {
  if (codePage == CP_UTF8) return Narrow(Widen(utf8));  // normalises bad bytes too
  const std::wstring wide = Widen(utf8);
  std::wstring_view rest = wide;
  std::string out;
  while (!rest.empty()) {
    const std::size_t n = Utf16PieceLength(rest, kMaxPiece);
    if (!AppendMultiByte(rest.substr(0, n), codePage, out)) return {};
    rest.remove_prefix(n);
  }
  return out;
}

}  // namespace ui
