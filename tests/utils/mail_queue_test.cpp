#include "utils/mail_queue.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "tests/support/test_support.h"
#include "tests/utils/smtp_server.h"
#include "tests/utils/utils_fixture.h"

namespace lum {
namespace {

using namespace std::chrono_literals;
using test::makeCertificate;
using test::readBytes;
using test::SmtpServer;
using test::TempDir;
using test::textOf;

// The window's thread: events posted by the sending threads wait here until
// the test pumps them, on its own thread.
class EventLoop {
 public:
  MailPoster poster() {
    return [this](std::function<void()> call) {
      std::lock_guard lock(mMutex);
      mCalls.push_back(std::move(call));
      mWake.notify_one();
    };
  }
  // Runs posted calls until done() holds; false after the time runs out.
  bool pumpUntil(const std::function<bool()>& done, std::chrono::seconds limit = 30s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      std::function<void()> call;
      {
        std::unique_lock lock(mMutex);
        if (!mWake.wait_until(lock, end, [&] { return !mCalls.empty(); })) {
          return false;
        }
        call = std::move(mCalls.front());
        mCalls.pop_front();
      }
      call();
    }
    return true;
  }

 private:
  std::mutex mMutex;
  std::condition_variable mWake;
  std::deque<std::function<void()>> mCalls;
};

struct FixedResolver final : MxResolver {
  std::vector<std::string> exchangers(const std::string& domain) override {
    asked.push_back(domain);
    return {"127.0.0.1"};
  }
  std::vector<std::string> asked;
};

struct MailQueueTest : ::testing::Test {
  MailQueueTest() {
    attachment = dir / "lum.zip";
    std::string bytes;
    for (int i = 0; i < 300000; ++i) {
      bytes += static_cast<char>((static_cast<unsigned>(i) * 7919u) % 256u);
    }
    test::writeText(attachment, bytes);
  }
  MailMessage message(int port) {
    MailMessage m;
    m.server = "127.0.0.1";
    m.port = std::to_string(port);
    m.senderName = "Jo Smith";
    m.senderAddress = "jo@example.com";
    m.recipientName = "Acme Accountants";
    m.recipientAddress = "acc@example.com";
    m.subject = "Vazi Varur Data from Jo Smith";
    m.textBody = "Dear Acme Accountants, Attached is our cash books data.";
    m.attachments = {attachment.string()};
    return m;
  }
  // The status texts of a message, as its queue row shows them.
  std::string& row(int number) { return rows[number]; }
  bool finished(int number) {
    const std::string& text = rows[number];
    return text == "Sent successfully!" || text.starts_with("Send failed!") || text == "Canceled";
  }

  TempDir dir;
  std::filesystem::path attachment;
  FileOps ops;
  FixedResolver resolver;
  EventLoop loop;
  std::map<int, std::string> rows;
  std::vector<std::string> failures;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
  std::thread::id windowThread = std::this_thread::get_id();
  bool offThread = false;
  MailQueue queue{ops, resolver, loop.poster(),
                  MailEvents{[this](int number, MailStatus status) {
                               offThread |= std::this_thread::get_id() != windowThread;
                               rows[number] = mailStatusText(status, queue.errorCode(number),
                                                             queue.errorText(number));
                               if (status == MailStatus::Failed) {
                                 failures.push_back(rows[number]);
                               }
                             },
                             [this](int number, std::uint64_t sent, std::uint64_t total) {
                               offThread |= std::this_thread::get_id() != windowThread;
                               rows[number] = mailProgressText(sent, total);
                               progress.emplace_back(sent, total);
                             }}};
};

TEST_F(MailQueueTest, MessageArrivesWithItsAttachmentIntact) {
  SmtpServer server(dir);
  ASSERT_NE(server.port(), 0);
  const int number = queue.add(message(server.port())).number();
  ASSERT_EQ(number, 1);
  ASSERT_TRUE(loop.pumpUntil([&] { return finished(number); }));
  EXPECT_EQ(row(number), "Sent successfully!");
  EXPECT_FALSE(offThread);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back().first, progress.back().second);
  EXPECT_GT(progress.back().second, 300000u);

  EXPECT_EQ(readBytes(server.out() / "1-lum.zip"), readBytes(attachment));
  EXPECT_EQ(textOf(server.out() / "1.txt"),
            "From: Jo Smith <jo@example.com>\nTo: Acme Accountants <acc@example.com>\n"
            "Subject: Vazi Varur Data from Jo Smith\n\n"
            "Dear Acme Accountants, Attached is our cash books data.");
}

TEST_F(MailQueueTest, NamesBeyondAsciiAndTheHtmlBodyArriveAsWritten) {
  SmtpServer server(dir);
  const auto named = dir / "Zoë's data.zip";
  std::filesystem::copy_file(attachment, named);
  MailMessage m = message(server.port());
  m.senderName = "Zoë Brontë";
  m.subject = "Vazi Varur Data from Zoë Brontë\r\nBcc: eve@example.com";
  m.htmlBody = "<p>Dear Acme Accountants, attached is Zoë's data.</p>";
  m.attachments = {named.string()};
  const int number = queue.add(m).number();
  ASSERT_TRUE(loop.pumpUntil([&] { return finished(number); }));
  EXPECT_EQ(row(number), "Sent successfully!");
  EXPECT_EQ(textOf(server.out() / "1.txt"),
            "From: Zoë Brontë <jo@example.com>\nTo: Acme Accountants <acc@example.com>\n"
            "Subject: Vazi Varur Data from Zoë Brontë  Bcc: eve@example.com\n\n"
            "Dear Acme Accountants, Attached is our cash books data.");
  EXPECT_EQ(textOf(server.out() / "1.html"), m.htmlBody);
  EXPECT_EQ(readBytes(server.out() / "1-Zoë's data.zip"), readBytes(attachment));
  // The whole message in 7-bit ASCII, as a server without SMTPUTF8 wants it.
  const std::string raw = textOf(server.out() / "1.eml");
  EXPECT_TRUE(std::all_of(raw.begin(), raw.end(),
                          [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
}

TEST_F(MailQueueTest, SendDirectlyGoesToTheDomainsMailExchanger) {
  SmtpServer server(dir);
  queue.setDirectPort(server.port());
  MailMessage direct = message(0);
  direct.server = "";
  direct.sendDirectly = true;
  direct.userName = "never used for a direct send";
  const int number = queue.add(direct).number();
  ASSERT_TRUE(loop.pumpUntil([&] { return finished(number); }));
  EXPECT_EQ(row(number), "Sent successfully!");
  EXPECT_EQ(resolver.asked, std::vector<std::string>{"example.com"});
  EXPECT_TRUE(std::filesystem::exists(server.out() / "1-lum.zip"));
}

TEST_F(MailQueueTest, RefusedLoginClosedPortAndNoStarttlsFail) {
  makeCertificate(dir);
  SmtpServer tls(dir, {"--cert", (dir / "cert.pem").string(), "--key", (dir / "key.pem").string(),
                       "--refuse-login"});
  queue.setCaFile((dir / "cert.pem").string());
  MailMessage login = message(tls.port());
  login.server = "localhost";
  login.userName = "jo";
  login.password = "wrong";
  const int refused = queue.add(login).number();
  ASSERT_TRUE(loop.pumpUntil([&] { return finished(refused); }));
  EXPECT_EQ(row(refused).substr(0, 23), "Send failed! Error 67 :") << row(refused);

  // A closed port: the server of this test is gone.
  int closedPort = 0;
  {
    TempDir other;
    SmtpServer gone(other);
    closedPort = gone.port();
  }
  const int closed = queue.add(message(closedPort)).number();
  ASSERT_TRUE(loop.pumpUntil([&] { return finished(closed); }));
  EXPECT_EQ(row(closed).substr(0, 22), "Send failed! Error 7 :") << row(closed);

  // A user name, and a server that offers no STARTTLS: the password stays home.
  TempDir plainDir;
  SmtpServer plain(plainDir);
  MailMessage clear = message(plain.port());
  clear.userName = "jo";
  clear.password = "secret";
  const int inClear = queue.add(clear).number();
  ASSERT_TRUE(loop.pumpUntil([&] { return finished(inClear); }));
  EXPECT_EQ(row(inClear),
            "Send failed! Error 64 : The server offers no STARTTLS; the user name and password "
            "are never sent in clear.");
  EXPECT_FALSE(std::filesystem::exists(plain.out() / "1.txt"));
  EXPECT_EQ(failures.size(), 3u);
  EXPECT_FALSE(offThread);
}

TEST_F(MailQueueTest, TwoThreadsSendFourMessages) {
  SmtpServer server(dir, {"--delay", "0.8"});
  EXPECT_FALSE(queue.setThreads(0));
  EXPECT_FALSE(queue.setThreads(100));
  EXPECT_EQ(queue.threads(), 1);
  EXPECT_TRUE(queue.setThreads(2));
  std::vector<int> numbers;
  for (int i = 0; i < 4; ++i) {
    numbers.push_back(queue.add(message(server.port())).number());
  }
  EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 4}));
  ASSERT_TRUE(loop.pumpUntil([&] {
    return std::all_of(numbers.begin(), numbers.end(), [&](int n) { return finished(n); });
  }));
  for (const int n : numbers) {
    EXPECT_EQ(row(n), "Sent successfully!");
  }
  EXPECT_EQ(textOf(server.out() / "max_concurrent"), "2");
}

TEST_F(MailQueueTest, ClearingCancelsTheQueuedAndTheOneBeingSent) {
  SmtpServer server(dir, {"--delay", "5"});
  const int first = queue.add(message(server.port())).number();
  const int second = queue.add(message(server.port())).number();
  ASSERT_TRUE(loop.pumpUntil([&] { return row(first).starts_with("Sending..."); }));
  queue.clear();
  ASSERT_TRUE(loop.pumpUntil([&] { return finished(first) && finished(second); }, 10s));
  EXPECT_EQ(row(first), "Canceled");
  EXPECT_EQ(row(second), "Canceled");

  MailMessage bad = message(server.port());
  bad.recipientAddress = "nobody";
  const MailAddResult noAddress = queue.add(bad);
  ASSERT_FALSE(noAddress.isQueued());
  EXPECT_EQ(noAddress.refusal(), "The recipient's e-mail address is not an address.");
  bad = message(server.port());
  bad.attachments = {(dir / "missing.zip").string()};
  EXPECT_FALSE(queue.add(bad).isQueued());
}

}  // namespace
}  // namespace lum
