#include "utils/mail_content.h"

#include <fmt/core.h>

#include <algorithm>
#include <ctime>

#include "platform/text.h"

namespace lum {
namespace {

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isLetterOrDigit(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// A text for a header: as it is when plain ASCII, else one RFC 2047
// encoded word in the Q encoding. A line break becomes a blank, so that no
// text of the user's adds a header of its own.
std::string headerText(std::string_view text) {
  std::string clean(text);
  std::replace_if(
      clean.begin(), clean.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  if (isAscii(clean)) {
    return clean;
  }
  std::string word = "=?UTF-8?Q?";
  for (const char c : clean) {
    if (isLetterOrDigit(c)) {
      word += c;
    } else if (c == ' ') {
      word += '_';
    } else {
      word += fmt::format("={:02X}", static_cast<unsigned char>(c));
    }
  }
  return word + "?=";
}

std::string mailbox(const std::string& name, const std::string& address) {
  const std::string trimmed(trim(name));
  return trimmed.empty() ? "<" + address + ">" : headerText(trimmed) + " <" + address + ">";
}

std::string dateHeader() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S %z", &local);
  return text;
}

// A part in base64: the attachments are binary, and the bodies keep their
// line ends and characters exactly.
void addPart(curl_mime* mime, const void* data, std::size_t size, const char* type,
             const char* fileName = nullptr) {
  curl_mimepart* part = madeByCurl(curl_mime_addpart(mime));
  throwOnCurlError(curl_mime_data(part, static_cast<const char*>(data), size));
  throwOnCurlError(curl_mime_type(part, type));
  throwOnCurlError(curl_mime_encoder(part, "base64"));
  if (fileName != nullptr) {
    throwOnCurlError(curl_mime_filename(part, fileName));
  }
}

}  // namespace

MailContent composeMail(CURL* curl, const MailMessage& message,
                        const std::vector<MailAttachment>& attachments) {
  MailContent content;
  appendLine(content.headers, "Date: " + dateHeader());
  appendLine(content.headers, "From: " + mailbox(message.senderName, message.senderAddress));
  appendLine(content.headers, "To: " + mailbox(message.recipientName, message.recipientAddress));
  appendLine(content.headers, "Subject: " + headerText(message.subject));

  content.body.reset(madeByCurl(curl_mime_init(curl)));
  CurlMime bodies(madeByCurl(curl_mime_init(curl)));
  addPart(bodies.get(), message.textBody.data(), message.textBody.size(),
          "text/plain; charset=UTF-8");
  if (!message.htmlBody.empty()) {
    addPart(bodies.get(), message.htmlBody.data(), message.htmlBody.size(),
            "text/html; charset=UTF-8");
  }
  curl_mimepart* alternatives = madeByCurl(curl_mime_addpart(content.body.get()));
  throwOnCurlError(curl_mime_subparts(alternatives, bodies.get()));
  static_cast<void>(bodies.release());  // the part owns them now
  throwOnCurlError(curl_mime_type(alternatives, "multipart/alternative"));

  for (const auto& attachment : attachments) {
    addPart(content.body.get(), attachment.bytes.data(), attachment.bytes.size(),
            "application/octet-stream", headerText(attachment.name).c_str());
  }
  return content;
}

}  // namespace lum
