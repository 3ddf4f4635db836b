#include "utils/mail_settings.h"

#include <fmt/core.h>

#include "panel/dates.h"
#include "platform/errors.h"
#include "platform/text.h"

namespace lum {

MailSettingsRecord loadMailSettings(UtilsSession& session) {
  const auto path = session.filePath("MailDets");
  if (!path || !session.ops().exists(*path)) {
    return {};
  }
  auto file = session.open("MailDets", RecordFile::Access::ReadOnly);
  const auto size = file->recordCount() * static_cast<std::int64_t>(MailSettingsRecord::kSize);
  const auto bytes = session.ops().readFile(*path).size();
  if (bytes == 0) {
    return {};
  }
  if (bytes % MailSettingsRecord::kSize != 0 || size == 0) {
    session.prompter().message(
        fmt::format("MailDets.dat is {} bytes, not a mail settings record of {} bytes; the mail "
                    "settings start empty and OK writes them anew.",
                    bytes, MailSettingsRecord::kSize),
        Icon::Exclamation);
    return {};
  }
  return file->get<MailSettingsRecord>(1);
}

void saveMailSettings(UtilsSession& session, const MailSettingsRecord& settings) {
  const auto path = session.filePath("MailDets");
  if (!path) {
    return;
  }
  FileOps& ops = session.ops();
  // A file of the wrong size is replaced whole, so record 1 is all there is.
  FileHandle file = ops.open(*path, OpenMode::WriteTruncate);
  ops.restrictToOwner(file);
  ops.writeAt(file, 0, settings.encode());
  ops.flush(file);
  ops.close(file);
}

std::string mailPort(const std::string& text) {
  return leadingNumber(text) == 0 ? std::string("25") : std::string(trim(text));
}

MailDraft openMail(UtilsSession& session, Storage& storage) {
  storage.zipToEmail();
  MailDraft draft;
  draft.settings = loadMailSettings(session);
  draft.settings.port = mailPort(draft.settings.port);
  const std::string sender(trimRight(draft.settings.senderName));
  const std::string recipient(trim(draft.settings.recipientName));
  draft.subject = "Vazi Varur Data from " + sender;
  draft.body = "Dear " + recipient + ", Attached is our cash books data derived on " +
               formatDate(session.clock().today()) + ". \r\n\r\n" + sender;
  const auto archive = storage.emailArchive();
  if (session.ops().exists(archive)) {
    draft.attachments.push_back(archive.string());
  } else {
    session.prompter().message("The zip file cannot be found", Icon::Exclamation);
  }
  return draft;
}

}  // namespace lum
