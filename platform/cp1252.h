#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace lum {

// Windows-1252 bytes to UTF-8. Every byte has a meaning: the five bytes
// that Windows-1252 leaves undefined map to the C1 controls of the same
// value, as Windows itself maps them, so any record text round-trips.
std::string cp1252ToUtf8(std::span<const std::byte> bytes);

// UTF-8 to Windows-1252. Throws EncodingError for malformed UTF-8 and for
// characters that Windows-1252 cannot hold.
std::string utf8ToCp1252(std::string_view utf8);

// A UTF-8 text as Windows-1252 can hold it: every character it cannot
// hold (and every malformed byte) becomes "?". Still UTF-8.
std::string storableInCp1252(std::string_view utf8);

}  // namespace lum
