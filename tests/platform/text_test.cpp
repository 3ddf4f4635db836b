#include "platform/text.h"

#include <gtest/gtest.h>

namespace lum {
namespace {

TEST(Text, TrimsBlanksAndNuls) {
  EXPECT_EQ(trim(std::string_view("  a b \0\0", 8)), "a b");
  EXPECT_EQ(trimRight("  x  "), "  x");
  EXPECT_EQ(trimLeft("  x  "), "x  ");
  EXPECT_EQ(trim("   "), "");
}

TEST(Text, OneLetterFieldsReadUpperCased) {
  EXPECT_EQ(upperLetter(" y "), 'Y');
  EXPECT_EQ(upperLetter("t"), 'T');
  EXPECT_EQ(upperLetter("   "), ' ');
  EXPECT_EQ(upperLetter(std::string_view("\0", 1)), ' ');
}

TEST(Text, LeftCharactersNeverCutACharacterInHalf) {
  EXPECT_EQ(leftCharacters("Caf\u00e9 Noir", 4), "Caf\u00e9");
  EXPECT_EQ(leftCharacters("\u20ac5", 1), "\u20ac");
  EXPECT_EQ(leftCharacters("ab", 5), "ab");
  EXPECT_EQ(leftCharacters("", 1), "");
}

TEST(Text, CharactersAreCountedNotBytes) {
  EXPECT_EQ(characterCount(""), 0u);
  EXPECT_EQ(characterCount("Caf\u00e9 \u20ac5"), 7u);
}

TEST(Text, WildcardsMatchLikeDos) {
  EXPECT_TRUE(wildcardMatch("An*.dat", "AN010001.DAT"));
  EXPECT_TRUE(wildcardMatch("*.*", "README"));
  EXPECT_TRUE(wildcardMatch("D?01*", "DC010001.dat"));
  EXPECT_TRUE(wildcardMatch("*a*b*", "xxaxxbxx"));
  EXPECT_FALSE(wildcardMatch("An*.dat", "Anstak.bak"));
  EXPECT_FALSE(wildcardMatch("?", ""));
  EXPECT_FALSE(wildcardMatch("*.dat", "x.data"));
}

TEST(Text, LeadingNumbersAsSetUpValuesAreRead) {
  EXPECT_EQ(leadingNumber(" 10"), 10.0);
  EXPECT_EQ(leadingNumber("12.5%"), 12.5);
  EXPECT_EQ(leadingNumber("-0.25"), -0.25);
  EXPECT_EQ(leadingNumber("1.2.3"), 1.2);
  EXPECT_EQ(leadingNumber("abc"), 0.0);
  EXPECT_EQ(leadingNumber(""), 0.0);
}

}  // namespace
}  // namespace lum
