#include "utils/utils_records.h"

#include <gtest/gtest.h>

#include "tests/support/records.h"

namespace lum {
namespace {

using test::Bytes;
using test::decodeAndRoundTrip;

TEST(UtilsRecords, StoredEntityAndFolder) {
  const auto entity =
      decodeAndRoundTrip<StoredEntityRecord>(Bytes().text("Smith Plumbing, Pty  20/08/26", 64));
  EXPECT_EQ(entity.text, "Smith Plumbing, Pty  20/08/26");

  const auto folder = decodeAndRoundTrip<FolderRecord>(Bytes().text(".\\Ent-1\\zip\\", 64));
  EXPECT_EQ(folder.folder, ".\\Ent-1\\zip\\");
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

}  // namespace
}  // namespace lum
