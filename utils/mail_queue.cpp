#include "utils/mail_queue.h"

#include <arpa/nameser.h>
#include <fmt/core.h>
#include <netinet/in.h>
#include <resolv.h>

#include <algorithm>
#include <optional>

#include "platform/errors.h"
#include "platform/text.h"
#include "utils/curl_owners.h"
#include "utils/mail_content.h"

namespace lum {
namespace {

constexpr std::uint64_t kProgressStep = 32 * 1024;

// libcurl's global set-up, once for the process before any thread uses it.
void initialiseCurl() {
  static const bool done = [] { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }();
  static_cast<void>(done);
}

bool validAddress(const std::string& address) {
  const auto at = address.find('@');
  return at != std::string::npos && at > 0 && at + 1 < address.size() &&
         address.find_first_of("<>\r\n ") == std::string::npos;
}

// Why a message cannot be queued, or nothing.
std::optional<std::string> refusalOf(const MailMessage& message) {
  if (!validAddress(std::string(trim(message.senderAddress)))) {
    return "The sender's e-mail address is not an address.";
  }
  if (!validAddress(std::string(trim(message.recipientAddress)))) {
    return "The recipient's e-mail address is not an address.";
  }
  if (!message.sendDirectly && trim(message.server).empty()) {
    return "There is no SMTP server.";
  }
  return std::nullopt;
}

struct Progress {
  std::function<void(std::uint64_t, std::uint64_t)> report;
  const std::atomic<bool>* cancelled;
  std::uint64_t last = 0;
};

int onProgress(void* data, curl_off_t, curl_off_t, curl_off_t uploadTotal, curl_off_t uploaded) {
  auto* progress = static_cast<Progress*>(data);
  if (progress->cancelled->load()) {
    return 1;  // aborts the transfer
  }
  const auto sent = static_cast<std::uint64_t>(uploaded);
  const auto total = static_cast<std::uint64_t>(uploadTotal);
  if (sent != progress->last && (sent - progress->last >= kProgressStep || sent == total)) {
    progress->last = sent;
    progress->report(sent, total);
  }
  return 0;
}

}  // namespace

std::string mailStatusText(MailStatus status, int errorCode, const std::string& errorText) {
  switch (status) {
    case MailStatus::Queued:
      return "Queued";
    case MailStatus::Sending:
      return "Sending...";
    case MailStatus::Sent:
      return "Sent successfully!";
    case MailStatus::Failed:
      return fmt::format("Send failed! Error {} : {}", errorCode, errorText);
    case MailStatus::Cancelled:
      return "Canceled";
  }
  return {};
}

std::string mailProgressText(std::uint64_t sent, std::uint64_t total) {
  return fmt::format("Sending... {} of {} bytes sent", sent, total);
}

std::vector<std::string> DnsMxResolver::exchangers(const std::string& domain) {
  unsigned char answer[NS_PACKETSZ * 4];
  const int length = res_query(domain.c_str(), ns_c_in, ns_t_mx, answer, sizeof answer);
  if (length < 0) {
    return {};
  }
  ns_msg message;
  if (ns_initparse(answer, length, &message) < 0) {
    return {};
  }
  std::vector<std::pair<int, std::string>> found;
  for (int i = 0; i < ns_msg_count(message, ns_s_an); ++i) {
    ns_rr record;
    if (ns_parserr(&message, ns_s_an, i, &record) < 0 || ns_rr_type(record) != ns_t_mx ||
        ns_rr_rdlen(record) < 3) {
      continue;
    }
    const unsigned char* data = ns_rr_rdata(record);
    const int preference = (data[0] << 8) | data[1];
    char name[NS_MAXDNAME];
    if (ns_name_uncompress(ns_msg_base(message), ns_msg_end(message), data + 2, name, sizeof name) <
        0) {
      continue;
    }
    found.emplace_back(preference, name);
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> names;
  for (auto& [preference, name] : found) {
    names.push_back(std::move(name));
  }
  return names;
}

MailQueue::MailQueue(FileOps& ops, MxResolver& resolver, MailPoster post, MailEvents events)
    : mOps(&ops), mResolver(&resolver), mPost(std::move(post)), mEvents(std::move(events)) {
  initialiseCurl();
  mThreads.emplace_back([this] { work(0); });
}

MailQueue::~MailQueue() {
  {
    std::lock_guard lock(mMutex);
    mStopping = true;
    for (auto& job : mSending) {
      job->cancelled = true;
    }
  }
  mWake.notify_all();
  for (auto& thread : mThreads) {
    thread.join();
  }
}

bool MailQueue::setThreads(int count) {
  if (count < 1 || count > kMaxThreads) {
    return false;
  }
  std::lock_guard lock(mMutex);
  mThreadCount = count;
  while (static_cast<int>(mThreads.size()) < count) {
    const int index = static_cast<int>(mThreads.size());
    mThreads.emplace_back([this, index] { work(index); });
  }
  mWake.notify_all();
  return true;
}

int MailQueue::threads() const {
  std::lock_guard lock(mMutex);
  return mThreadCount;
}

MailAddResult MailQueue::add(const MailMessage& message) {
  if (auto reason = refusalOf(message)) {
    return MailAddResult::refused(std::move(*reason));
  }
  auto job = std::make_shared<Job>();
  try {
    for (const auto& file : message.attachments) {
      job->attachments.push_back(
          {std::filesystem::path(file).filename().string(), mOps->readFile(file)});
    }
  } catch (const FileError& error) {
    return MailAddResult::refused(error.what());
  }
  job->message = message;
  job->message.senderAddress = trim(message.senderAddress);
  job->message.recipientAddress = trim(message.recipientAddress);
  std::lock_guard lock(mMutex);
  job->number = mNextNumber++;
  mQueue.push_back(job);
  mWake.notify_one();
  return MailAddResult::queued(job->number);
}

void MailQueue::clear() {
  std::deque<std::shared_ptr<Job>> dropped;
  {
    std::lock_guard lock(mMutex);
    dropped.swap(mQueue);
    for (auto& job : mSending) {
      job->cancelled = true;
    }
  }
  for (const auto& job : dropped) {
    post([this, number = job->number] {
      if (mEvents.statusChanged) {
        mEvents.statusChanged(number, MailStatus::Cancelled);
      }
    });
  }
}

int MailQueue::errorCode(int message) const {
  std::lock_guard lock(mMutex);
  const auto found = mFailures.find(message);
  return found == mFailures.end() ? 0 : found->second.code;
}

std::string MailQueue::errorText(int message) const {
  std::lock_guard lock(mMutex);
  const auto found = mFailures.find(message);
  return found == mFailures.end() ? std::string() : found->second.text;
}

void MailQueue::post(std::function<void()> call) {
  mPost(std::move(call));
}

void MailQueue::work(int index) {
  for (;;) {
    std::shared_ptr<Job> job;
    {
      std::unique_lock lock(mMutex);
      mWake.wait(lock, [&] { return mStopping || (index < mThreadCount && !mQueue.empty()); });
      if (mStopping) {
        return;
      }
      job = mQueue.front();
      mQueue.pop_front();
      mSending.push_back(job);
    }
    send(*job);
    std::lock_guard lock(mMutex);
    mSending.erase(std::find(mSending.begin(), mSending.end(), job));
  }
}

void MailQueue::send(Job& job) {
  const auto status = [this, number = job.number](MailStatus value) {
    post([this, number, value] {
      if (mEvents.statusChanged) {
        mEvents.statusChanged(number, value);
      }
    });
  };
  status(MailStatus::Sending);

  Failure failure;
  const MailMessage& message = job.message;
  if (message.sendDirectly) {
    const std::string domain =
        message.recipientAddress.substr(message.recipientAddress.find('@') + 1);
    auto hosts = mResolver->exchangers(domain);
    if (hosts.empty()) {
      hosts.push_back(domain);  // no MX record: the domain's own address
    }
    for (const auto& host : hosts) {
      failure = sendTo(job, fmt::format("smtp://{}:{}", host, mDirectPort), true);
      if (failure.code != CURLE_COULDNT_CONNECT && failure.code != CURLE_COULDNT_RESOLVE_HOST &&
          failure.code != CURLE_OPERATION_TIMEDOUT) {
        break;
      }
    }
  } else {
    failure =
        sendTo(job, fmt::format("smtp://{}:{}", trim(message.server), trim(message.port)), false);
  }

  if (failure.code == CURLE_OK) {
    status(MailStatus::Sent);
  } else if (job.cancelled) {
    status(MailStatus::Cancelled);
  } else {
    {
      std::lock_guard lock(mMutex);
      mFailures[job.number] = failure;
    }
    status(MailStatus::Failed);
  }
}

MailQueue::Failure MailQueue::sendTo(Job& job, const std::string& url, bool direct) {
  const MailMessage& message = job.message;
  // Made before the handle, so that they are freed after it, as libcurl wants.
  CurlList recipients;
  MailContent content;
  CurlEasy owner(curl_easy_init());
  CURL* curl = owner.get();
  if (curl == nullptr) {
    return {CURLE_FAILED_INIT, curl_easy_strerror(CURLE_FAILED_INIT)};
  }
  char errorBuffer[CURL_ERROR_SIZE] = {};
  const std::string user(trim(message.userName));
  const bool authenticate = !direct && !user.empty();
  const std::string from = "<" + message.senderAddress + ">";
  try {
    appendLine(recipients, "<" + message.recipientAddress + ">");
    content = composeMail(curl, message, job.attachments);
  } catch (const CurlError& error) {
    return {error.code(), error.what()};
  }
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
  // STARTTLS whenever offered; a login only inside it.
  curl_easy_setopt(curl, CURLOPT_USE_SSL,
                   static_cast<long>(authenticate ? CURLUSESSL_ALL : CURLUSESSL_TRY));
  if (authenticate) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, message.password.c_str());
  }
  if (!mCaFile.empty()) {
    curl_easy_setopt(curl, CURLOPT_CAINFO, mCaFile.c_str());
  }
  curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.c_str());
  curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients.get());
  // Over SMTP these are the message's own headers, above the MIME ones.
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, content.headers.get());
  curl_easy_setopt(curl, CURLOPT_MIMEPOST, content.body.get());

  Progress progress{[this, number = job.number](std::uint64_t sent, std::uint64_t total) {
                      post([this, number, sent, total] {
                        if (mEvents.progress) {
                          mEvents.progress(number, sent, total);
                        }
                      });
                    },
                    &job.cancelled};
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &progress);

  const CURLcode result = curl_easy_perform(curl);
  Failure failure{static_cast<int>(result), {}};
  if (result == CURLE_USE_SSL_FAILED && authenticate) {
    failure.text =
        "The server offers no STARTTLS; the user name and password are never sent in clear.";
  } else if (result != CURLE_OK) {
    failure.text = errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(result);
  }
  return failure;
}

}  // namespace lum
