#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/utils/utils_fixture.h"

namespace lum::test {

// The loopback SMTP server of smtp_server.py, started for one test and
// stopped with it.
class SmtpServer {
 public:
  explicit SmtpServer(const TempDir& dir, std::vector<std::string> options = {})
      : mOut(dir / "received") {
    std::filesystem::create_directories(mOut);
    const auto portFile = (dir / "port").string();
    std::vector<std::string> args = {"/usr/bin/python3", LUM_SMTP_SERVER, portFile, mOut.string()};
    args.insert(args.end(), options.begin(), options.end());
    // Everything the child needs is made before the fork: the test may run
    // threads, and the child only redirects its output and starts python.
    std::vector<char*> argv;
    for (auto& arg : args) {
      argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const auto log = (dir / "smtp.log").string();
    mPid = ::fork();
    if (mPid == 0) {
      // Not the test's own output: ctest waits for that to close.
      const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(fd, STDOUT_FILENO);
      ::dup2(fd, STDERR_FILENO);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    for (int tries = 0; tries < 300 && !std::filesystem::exists(portFile); ++tries) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (std::filesystem::exists(portFile)) {
      mPort = std::stoi(textOf(portFile));
    }
  }
  ~SmtpServer() {
    ::kill(mPid, SIGTERM);
    ::waitpid(mPid, nullptr, 0);
  }
  int port() const { return mPort; }
  const std::filesystem::path& out() const { return mOut; }

 private:
  std::filesystem::path mOut;
  pid_t mPid = -1;
  int mPort = 0;
};

// A self-signed certificate for "localhost", made with openssl.
inline void makeCertificate(const TempDir& dir) {
  const auto [status, out] = runCommand(
      "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=localhost "
      "-addext subjectAltName=DNS:localhost -keyout " +
      quoted(dir / "key.pem") + " -out " + quoted(dir / "cert.pem"));
  ASSERT_EQ(status, 0) << out;
}

}  // namespace lum::test
