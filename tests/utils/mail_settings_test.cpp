#include "utils/mail_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/records.h"
#include "tests/support/test_support.h"
#include "tests/utils/utils_fixture.h"

namespace lum {
namespace {

using test::Bytes;
using test::UtilsParts;

TEST(MailSettings, OpeningZipsTheAreaAndFillsTheWindow) {
  UtilsParts parts;
  parts.fillWorkArea();
  parts.session.start();
  test::writeBytes(parts.area() / "MailDets.dat", Bytes()
                                                      .text("smtp.example.com", 64)
                                                      .text("0", 21)
                                                      .text("jo", 48)
                                                      .text("pw", 48)
                                                      .text("Jo Smith  ", 48)
                                                      .text("jo@example.com", 48)
                                                      .text("Acme Accountants   ", 48)
                                                      .text("acc@example.com", 48)
                                                      .int16(1));
  Storage storage(parts.session);
  const MailDraft draft = openMail(parts.session, storage);
  EXPECT_EQ(draft.settings.server, "smtp.example.com");
  EXPECT_EQ(draft.settings.port, "25");
  EXPECT_EQ(draft.settings.sendDirectly, 1);
  EXPECT_EQ(draft.subject, "Vazi Varur Data from Jo Smith");
  EXPECT_EQ(draft.body,
            "Dear Acme Accountants, Attached is our cash books data derived on 20/08/26. "
            "\r\n\r\nJo Smith");
  ASSERT_EQ(draft.attachments.size(), 1u);
  EXPECT_EQ(std::filesystem::path(draft.attachments[0]), parts.group() / "Email" / "lum.zip");
  EXPECT_TRUE(parts.prompter.texts().empty());
  EXPECT_EQ(mailPort(""), "25");
  EXPECT_EQ(mailPort(" 587 "), "587");
}

TEST(MailSettings, SavedForTheOwnerOnlyAndAWrongSizeIsTold) {
  UtilsParts parts;
  parts.session.start();
  const auto file = parts.area() / "MailDets.dat";
  test::writeBytes(file, std::vector<std::byte>(400, std::byte{'x'}));
  ::chmod(file.c_str(), 0644);
  EXPECT_EQ(loadMailSettings(parts.session).server, "");
  EXPECT_EQ(parts.prompter.texts(),
            std::vector<std::string>{"MailDets.dat is 400 bytes, not a mail settings record of 375 "
                                     "bytes; the mail settings start empty and OK writes them "
                                     "anew."});

  MailSettingsRecord settings;
  settings.server = "mail.example.com";
  settings.port = "587";
  settings.password = "secret";
  settings.sendDirectly = 0;
  saveMailSettings(parts.session, settings);
  struct stat status {};
  ASSERT_EQ(::stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  const auto bytes = test::readBytes(file);
  ASSERT_EQ(bytes.size(), 375u);
  EXPECT_EQ(bytes[64], std::byte{'5'});   // the port
  EXPECT_EQ(bytes[133], std::byte{'s'});  // the password
  EXPECT_EQ(loadMailSettings(parts.session).server, "mail.example.com");

  std::filesystem::remove(parts.group() / "Email" / "lum.zip");
  Storage storage(parts.session);
  parts.prompter.clear();
  const MailDraft draft = openMail(parts.session, storage);
  EXPECT_TRUE(draft.attachments.empty());
  EXPECT_EQ(parts.prompter.texts().back(), "The zip file cannot be found");
}

}  // namespace
}  // namespace lum
