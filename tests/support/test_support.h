#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lum::test {

// A fresh folder that is deleted with its contents at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return mPath; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return mPath / name; }

 private:
  std::filesystem::path mPath;
};

// Record bytes written by hand, piece by piece.
class Bytes {
 public:
  // Text padded with blanks to the width (single-byte, as given).
  Bytes& text(std::string_view text, std::size_t width);
  Bytes& int16(std::int16_t value);
  Bytes& int32(std::int32_t value);
  // An IEEE single, little-endian.
  Bytes& float32(float value);
  // A little-endian 64-bit integer: a Currency's ten-thousandths.
  Bytes& raw8(std::int64_t value);
  // Raw bytes in file order.
  Bytes& raw(std::initializer_list<unsigned> bytes);
  Bytes& zeros(std::size_t count);

  const std::vector<std::byte>& bytes() const { return mBytes; }
  operator const std::vector<std::byte>&() const { return mBytes; }

 private:
  std::vector<std::byte> mBytes;
};

void writeBytes(const std::filesystem::path& file, const std::vector<std::byte>& bytes);
std::vector<std::byte> readBytes(const std::filesystem::path& file);
void writeText(const std::filesystem::path& file, std::string_view text);
std::string readText(const std::filesystem::path& file);

// The exit status of a shell command, and what it wrote on both its outputs.
std::pair<int, std::string> runCommand(const std::string& command);

}  // namespace lum::test
