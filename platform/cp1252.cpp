#include "platform/cp1252.h"

#include <fmt/core.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/errors.h"

namespace lum {
namespace {

// Code points of bytes 0x80 to 0x9F; the rest of the range is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char32_t decodeOne(std::string_view utf8, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(utf8[i]);
  int extra;
  char32_t cp;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    throw EncodingError("text is not valid UTF-8");
  }
  if (i + static_cast<std::size_t>(extra) >= utf8.size()) {
    throw EncodingError("text is not valid UTF-8");
  }
  for (int k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
    if ((next & 0xC0) != 0x80) {
      throw EncodingError("text is not valid UTF-8");
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    throw EncodingError("text is not valid UTF-8");
  }
  i += static_cast<std::size_t>(extra) + 1;
  return cp;
}

}  // namespace

std::string cp1252ToUtf8(std::span<const std::byte> bytes) {
  // Most stored text is ASCII, which is the same in both.
  if (std::all_of(bytes.begin(), bytes.end(), [](std::byte b) { return b < std::byte{0x80}; })) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  std::string out;
  out.reserve(bytes.size());
  for (const std::byte b : bytes) {
    const auto value = static_cast<unsigned char>(b);
    appendUtf8(out, (value >= 0x80 && value < 0xA0) ? kHighControls[value - 0x80] : value);
  }
  return out;
}

std::string utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t cp = decodeOne(utf8, i);
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    std::size_t k = 0;
    while (k < kHighControls.size() && kHighControls[k] != cp) {
      ++k;
    }
    if (k == kHighControls.size()) {
      throw EncodingError(fmt::format(
          "The character U+{:04X} cannot be stored: the data files hold Windows-1252 text only",
          static_cast<std::uint32_t>(cp)));
    }
    out += static_cast<char>(0x80 + k);
  }
  return out;
}

std::string storableInCp1252(std::string_view utf8) {
  try {
    utf8ToCp1252(utf8);
    return std::string(utf8);
  } catch (const EncodingError&) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
      const auto lead = static_cast<unsigned char>(utf8[i]);
      const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
      const std::string_view piece = utf8.substr(i, length);
      try {
        utf8ToCp1252(piece);
        out += piece;
      } catch (const EncodingError&) {
        out += '?';
      }
      i += length;
    }
    return out;
  }
}

}  // namespace lum
