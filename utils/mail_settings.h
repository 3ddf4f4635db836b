#pragma once

#include <string>
#include <vector>

#include "utils/storage.h"
#include "utils/utils_records.h"
#include "utils/utils_session.h"

namespace lum {

// Record 1 of MailDets.dat; an empty settings record when there is none. A
// file that is not whole 375-byte records is told to the user and read as empty.
MailSettingsRecord loadMailSettings(UtilsSession& session);
// Writes record 1, readable and writable by its owner only: it holds the
// server password.
void saveMailSettings(UtilsSession& session, const MailSettingsRecord& settings);

// What the mail window shows when it opens.
struct MailDraft {
  MailSettingsRecord settings;  // texts right-trimmed; the port "25" when empty or 0
  std::string subject;
  std::string body;
  std::vector<std::string> attachments;  // native paths
};

// Zips the work area into the e-mail folder's "lum.zip" and fills the mail
// window from the saved settings; "The zip file cannot be found" when there
// is no archive to attach.
MailDraft openMail(UtilsSession& session, Storage& storage);

// The port to use: "25" for an empty field or one whose value is 0.
std::string mailPort(const std::string& text);

}  // namespace lum
