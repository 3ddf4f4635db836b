#include "utils/utils_records.h"

#include <gtest/gtest.h>

#include "tests/support/records.h"

namespace lum {
namespace {

using test::Bytes;
using test::decodeAndRoundTrip;

TEST(UtilsRecords, StoredEntityAndFolderAndCount) {
  const auto entity =
      decodeAndRoundTrip<StoredEntityRecord>(Bytes().text("Smith Plumbing, Pty  20/08/26", 64));
  EXPECT_EQ(entity.text, "Smith Plumbing, Pty  20/08/26");

  const auto folder = decodeAndRoundTrip<FolderRecord>(Bytes().text(".\\Ent-1\\zip\\", 64));
  EXPECT_EQ(folder.folder, ".\\Ent-1\\zip\\");

  const auto count = decodeAndRoundTrip<CountRecord>(Bytes().text("Slots", 24).int16(7));
  EXPECT_EQ(count.label, "Slots");
  EXPECT_EQ(count.value, 7);
  EXPECT_EQ((CountRecord{"", 300}.encode()[24]), std::byte{44});  // 300 = 0x012C, little-endian
  EXPECT_EQ((CountRecord{"", 300}.encode()[25]), std::byte{1});
}

TEST(UtilsRecords, MailSettings) {
  const Bytes bytes = Bytes()
                          .text("smtp.example.com.au", 64)  // 0
                          .text("587", 21)                  // 64
                          .text("jo", 48)                   // 85
                          .text("secret", 48)               // 133
                          .text("Jo Smith", 48)             // 181
                          .text("jo@example.com.au", 48)    // 229
                          .text("Acme Accountants", 48)     // 277
                          .text("acc@example.com.au", 48)   // 325
                          .int16(1);                        // 373
  const auto r = decodeAndRoundTrip<MailSettingsRecord>(bytes);
  EXPECT_EQ(r.server, "smtp.example.com.au");
  EXPECT_EQ(r.port, "587");
  EXPECT_EQ(r.userName, "jo");
  EXPECT_EQ(r.password, "secret");
  EXPECT_EQ(r.senderName, "Jo Smith");
  EXPECT_EQ(r.senderAddress, "jo@example.com.au");
  EXPECT_EQ(r.recipientName, "Acme Accountants");
  EXPECT_EQ(r.recipientAddress, "acc@example.com.au");
  EXPECT_EQ(r.sendDirectly, 1);
}

TEST(UtilsRecords, TheMainProgramsFilesReadHere) {
  const auto entity = decodeAndRoundTrip<EntityNameRecord>(
      Bytes().text("Smith Plumbing", 32).text("Pty Ltd", 32).text("1 Main St", 48).zeros(194));
  EXPECT_EQ(entity.name, "Smith Plumbing");
  EXPECT_EQ(entity.secondNameLine, "Pty Ltd");
  EXPECT_EQ(entity.rest[0], std::byte{'1'});

  const auto oper = decodeAndRoundTrip<OperatorLevelRecord>(
      Bytes().text("Jo", 24).text("Smith", 24).int16(1).text("pw", 12).int16(99).zeros(24));
  EXPECT_EQ(oper.level, 99);

  const auto position = decodeAndRoundTrip<PositionRecord>(
      Bytes().raw({0x00, 0x00, 0x7A, 0x44, 0x00, 0x00, 0xFA, 0x44}));  // 1000.0f, 2000.0f
  EXPECT_EQ(position.top, 1000.0f);
  EXPECT_EQ(position.left, 2000.0f);

  EXPECT_EQ(decodeAndRoundTrip<ProfileValueRecord>(Bytes().int16(-2)).value, -2);
}

}  // namespace
}  // namespace lum
