#include "tests/support/test_support.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace lum::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumtest-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a temporary folder");
  }
  mPath = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(mPath, ignored);
}

Bytes& Bytes::text(std::string_view text, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) {
    mBytes.push_back(static_cast<std::byte>(i < text.size() ? text[i] : ' '));
  }
  return *this;
}

Bytes& Bytes::int16(std::int16_t value) {
  const auto v = static_cast<unsigned>(static_cast<std::uint16_t>(value));
  return raw({v & 0xFFu, v >> 8});
}

Bytes& Bytes::int32(std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  return raw({v & 0xFFu, (v >> 8) & 0xFFu, (v >> 16) & 0xFFu, v >> 24});
}

Bytes& Bytes::float32(float value) {
  return int32(std::bit_cast<std::int32_t>(value));
}

Bytes& Bytes::raw8(std::int64_t value) {
  const auto v = static_cast<std::uint64_t>(value);
  for (int shift = 0; shift < 64; shift += 8) {
    mBytes.push_back(static_cast<std::byte>((v >> shift) & 0xFFu));
  }
  return *this;
}

Bytes& Bytes::raw(std::initializer_list<unsigned> bytes) {
  for (const unsigned b : bytes) {
    mBytes.push_back(static_cast<std::byte>(b));
  }
  return *this;
}

Bytes& Bytes::zeros(std::size_t count) {
  mBytes.insert(mBytes.end(), count, std::byte{0});
  return *this;
}

void writeBytes(const std::filesystem::path& file, const std::vector<std::byte>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << file;
}

std::vector<std::byte> readBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> chars{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  std::vector<std::byte> bytes(chars.size());
  std::transform(chars.begin(), chars.end(), bytes.begin(),
                 [](char c) { return static_cast<std::byte>(c); });
  return bytes;
}

std::string readText(const std::filesystem::path& file) {
  const std::vector<std::byte> bytes = readBytes(file);
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

void writeText(const std::filesystem::path& file, std::string_view text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  ASSERT_TRUE(out.good()) << file;
}

std::pair<int, std::string> runCommand(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    output.append(buffer, n);
  }
  const int status = ::pclose(pipe);
  return {WEXITSTATUS(status), output};
}

}  // namespace lum::test
