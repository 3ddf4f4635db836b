#pragma once

#include <vector>

#include "utils/curl_owners.h"
#include "utils/mail_queue.h"

namespace lum {

// A message as libcurl sends it: the header lines (date, sender,
// recipient, subject) and the MIME body, in which the text body and the
// HTML body (when there is one) are alternatives, followed by each
// attachment. libcurl writes the boundaries and the base64.
struct MailContent {
  CurlList headers;
  CurlMime body;
};

// Throws CurlError when libcurl cannot build it.
MailContent composeMail(CURL* curl, const MailMessage& message,
                        const std::vector<MailAttachment>& attachments);

}  // namespace lum
