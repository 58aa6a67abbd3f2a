// Conversions between the program's UTF-8 strings and the encodings Win32
// wants: UTF-16 for the W APIs, and legacy code pages (936 for GBK) for the few
// places that only take bytes. Every function accepts any input: malformed
// sequences come out as replacement characters, never as an error or a crash.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ui {

// UTF-8 to UTF-16; invalid bytes become U+FFFD.
std::wstring Widen(std::string_view utf8);

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view wide);

// UTF-8 to the bytes of a Windows code page (936 gives GBK). Characters the
// page lacks become its default character ('?'); an unknown code page gives an
// empty string.
std::string ToCodePage(std::string_view utf8, unsigned codePage);

// The longest prefix of at most `limit` code units that ends on a character
// boundary (a UTF-8 sequence, a surrogate pair): the Win32 calls take int
// lengths, so long input is converted in such pieces.
std::size_t Utf8PieceLength(std::string_view s, std::size_t limit);
std::size_t Utf16PieceLength(std::wstring_view s, std::size_t limit);

}  // namespace ui
