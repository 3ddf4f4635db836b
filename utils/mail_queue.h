#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "platform/file_ops.h"

namespace lum {

// One message as the mail window hands it over.
struct MailMessage {
  std::string server;
  std::string port;
  std::string userName;  // empty: no authentication
  std::string password;
  std::string senderName;
  std::string senderAddress;
  std::string recipientName;
  std::string recipientAddress;
  std::string subject;
  std::string textBody;
  std::string htmlBody;
  std::vector<std::string> attachments;  // native paths
  bool sendDirectly = false;             // to the recipient domain's mail exchanger
};

// An attachment as the queue keeps it: read whole when the message is queued.
struct MailAttachment {
  std::string name;
  std::vector<std::byte> bytes;
};

// What the queue answers to a message: its number, or why it refused it.
class MailAddResult {
 public:
  static MailAddResult queued(int number) { return MailAddResult(number); }
  static MailAddResult refused(std::string reason) { return MailAddResult(std::move(reason)); }

  bool isQueued() const { return std::holds_alternative<int>(mValue); }
  // The message number, from 1; only for a queued message.
  int number() const { return std::get<int>(mValue); }
  // Why the message cannot be sent; only for a refused one.
  const std::string& refusal() const { return std::get<std::string>(mValue); }

 private:
  explicit MailAddResult(std::variant<int, std::string> value) : mValue(std::move(value)) {}

  std::variant<int, std::string> mValue;
};

enum class MailStatus { Queued = 0, Sending = 1, Sent = 2, Failed = 3, Cancelled = 4 };

// The queue row's status texts.
std::string mailStatusText(MailStatus status, int errorCode, const std::string& errorText);
std::string mailProgressText(std::uint64_t sent, std::uint64_t total);

// The mail exchangers of a domain, most preferred first.
class MxResolver {
 public:
  virtual ~MxResolver() = default;
  virtual std::vector<std::string> exchangers(const std::string& domain) = 0;
};

// Asks the system's DNS resolver.
class DnsMxResolver final : public MxResolver {
 public:
  std::vector<std::string> exchangers(const std::string& domain) override;
};

// What the queue tells its window. The calls come through the poster, so
// they run where the poster runs them (the window's thread).
struct MailEvents {
  std::function<void(int message, MailStatus status)> statusChanged;
  std::function<void(int message, std::uint64_t sent, std::uint64_t total)> progress;
};
// Runs a call on the window's thread; called from the sending threads.
using MailPoster = std::function<void(std::function<void()>)>;

// The outgoing mail queue: messages are sent over SMTP by threads of its
// own, one message a thread at a time. STARTTLS is used whenever the server
// offers it; with a user name the login happens only inside TLS, and a
// server without STARTTLS fails the message rather than see the password.
class MailQueue {
 public:
  static constexpr int kMaxThreads = 99;

  MailQueue(FileOps& ops, MxResolver& resolver, MailPoster post, MailEvents events);
  ~MailQueue();
  MailQueue(const MailQueue&) = delete;
  MailQueue& operator=(const MailQueue&) = delete;

  // 1 to 99 sending threads; any other number leaves the count as it is.
  bool setThreads(int count);
  int threads() const;

  // Queues the message, reading its attachments now; refuses it when it
  // cannot be sent (no sender or recipient address, no server, an
  // attachment that cannot be read).
  MailAddResult add(const MailMessage& message);
  // Cancels every queued message and the ones being sent.
  void clear();

  // After a failure: the error code and its text.
  int errorCode(int message) const;
  std::string errorText(int message) const;

  // For tests: the port of the mail exchangers (25) and a CA file to trust.
  void setDirectPort(int port) { mDirectPort = port; }
  void setCaFile(std::string file) { mCaFile = std::move(file); }

 private:
  struct Job {
    int number = 0;
    MailMessage message;
    std::vector<MailAttachment> attachments;
    std::atomic<bool> cancelled{false};
  };
  struct Failure {
    int code = 0;
    std::string text;
  };

  void work(int index);
  void send(Job& job);
  // One attempt at one server; the curl code and its text.
  Failure sendTo(Job& job, const std::string& url, bool direct);
  void post(std::function<void()> call);

  FileOps* mOps;
  MxResolver* mResolver;
  MailPoster mPost;
  MailEvents mEvents;
  int mDirectPort = 25;
  std::string mCaFile;

  mutable std::mutex mMutex;
  std::condition_variable mWake;
  std::deque<std::shared_ptr<Job>> mQueue;
  std::vector<std::shared_ptr<Job>> mSending;
  std::map<int, Failure> mFailures;
  std::vector<std::thread> mThreads;
  int mThreadCount = 1;
  int mNextNumber = 1;
  bool mStopping = false;
};

}  // namespace lum
