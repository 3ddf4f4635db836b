#include "help/manual_anchors.h"

#include <gtest/gtest.h>

namespace lum {
namespace {

TEST(ManualAnchors, AHeadingsAnchorIsItsWordsInLowerCaseJoinedByHyphens) {
  EXPECT_EQ(anchorOf("The grid's keys"), "the-grids-keys");
  EXPECT_EQ(anchorOf("Storage and mail (LumUtils)"), "storage-and-mail-lumutils");
  EXPECT_EQ(anchorOf("Journal tools: F3, F4 and F5"), "journal-tools-f3-f4-and-f5");
  EXPECT_EQ(anchorOf("lumctl for_scripts - 2"), "lumctl-for_scripts---2");
}

TEST(ManualAnchors, AHeadingMetAgainGetsANumber) {
  AnchorNames names;
  EXPECT_EQ(names.add("Bring Back"), "bring-back");
  EXPECT_EQ(names.add("Store Away"), "store-away");
  EXPECT_EQ(names.add("Bring back"), "bring-back-1");
  EXPECT_EQ(names.add("Bring Back"), "bring-back-2");
}

}  // namespace
}  // namespace lum
