#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/test_support.h"

namespace lum::test {

// The golden listing of a report in the tests' own folder. A missing one
// fails, and the listing made is left beside it to be looked at.
inline void expectGolden(const std::string& listing, const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path golden = fs::path(LUM_GOLDEN_DIR) / name;
  if (!fs::exists(golden)) {
    std::ofstream(fs::path(LUM_GOLDEN_DIR) / (name + ".new")) << listing;
    FAIL() << "no golden listing " << golden << "; the one made is in " << name << ".new";
  }
  EXPECT_EQ(listing, readText(golden)) << "the report's pages changed: " << name;
}

}  // namespace lum::test
