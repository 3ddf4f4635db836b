// The commands that only read: they leave every file as it was, need no
// lock, and read a work area as it stood before a save under way there.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "platform/file_ops.h"
#include "tests/post/login/work_area_files.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::lumctl;
using Outcome = test::LumctlOutcome;

// Every folder and file under a folder, with the time each was last
// changed and the bytes of each file: a file written again with the same
// bytes, or a file made and deleted in a folder, shows too.
using Tree = std::map<std::string, std::string>;

Tree treeOf(const fs::path& root) {
  Tree tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string name = fs::relative(entry.path(), root).generic_string();
    const std::string time =
        std::to_string(fs::last_write_time(entry.path()).time_since_epoch().count());
    tree[name] = time + " " + (entry.is_directory() ? "(folder)" : test::readText(entry.path()));
  }
  return tree;
}

// The bytes of every file under a folder.
std::map<std::string, std::string> contentsOf(const fs::path& root) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      contents[fs::relative(entry.path(), root).generic_string()] = test::readText(entry.path());
    }
  }
  return contents;
}

// What differs between two trees, one line a file.
std::string changes(const Tree& before, const Tree& after) {
  std::string told;
  for (const auto& [name, bytes] : before) {
    const auto now = after.find(name);
    if (now == after.end()) {
      told += "removed " + name + "\n";
    } else if (now->second != bytes) {
      told += "changed " + name + "\n";
    }
  }
  for (const auto& [name, bytes] : after) {
    if (before.count(name) == 0) {
      told += "added " + name + "\n";
    }
  }
  return told;
}

// Another process holding a work area as a running copy does: the lock on
// its LumPost.lck, for as long as the object lives.
class AreaHolder {
 public:
  explicit AreaHolder(const fs::path& area) {
    const std::string lockFile = (area / "LumPost.lck").string();
    int ready[2];
    int release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) {
      return;
    }
    mChild = ::fork();
    if (mChild == 0) {
      const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT, 0644);
      struct flock lock {};
      lock.l_type = F_WRLCK;
      lock.l_whence = SEEK_SET;
      const char held = fd >= 0 && ::fcntl(fd, F_OFD_SETLK, &lock) == 0 ? 'y' : 'n';
      char done = 0;
      if (::write(ready[1], &held, 1) == 1) {
        ::close(release[1]);
        [[maybe_unused]] const auto ended =
            ::read(release[0], &done, 1);  // the parent's end closes
      }
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    mRelease = release[1];
    char held = 'n';
    mHeld = ::read(ready[0], &held, 1) == 1 && held == 'y';
    ::close(ready[0]);
  }
  ~AreaHolder() {
    ::close(mRelease);
    if (mChild > 0) {
      ::waitpid(mChild, nullptr, 0);
    }
  }
  AreaHolder(const AreaHolder&) = delete;
  AreaHolder& operator=(const AreaHolder&) = delete;
  bool held() const { return mHeld; }

 private:
  pid_t mChild = -1;
  int mRelease = -1;
  bool mHeld = false;
};

// A command line as typed, for failure messages.
std::string typed(const std::vector<std::string>& args) {
  std::string line;
  for (const auto& arg : args) {
    line += (line.empty() ? "" : " ") + arg;
  }
  return line;
}

// One page with one text, as a report leaves it in DosyaYaz.dat and
// Kelamlar.dat: header record 1 names commands 1001 to 1003, record 2 ends.
void writeOnePageReport(const fs::path& area) {
  const auto command = [](Bytes& bytes, const char* code, float a, float b, std::int64_t c) {
    bytes.text(code, 4).float32(a).float32(b).raw8(c).float32(0).float32(0);
  };
  Bytes commands;
  command(commands, "Page", 1001, 1003, 0);
  command(commands, "END", 0, 0, 0);
  commands.zeros(998 * 28);
  command(commands, "SBas", 0, 0, 0);
  command(commands, "Yazz", 1, 20, 10000);  // text 1 starting at 20 mm
  command(commands, "SBit", 0, 0, 0);
  test::writeBytes(area / "DosyaYaz.dat", commands);
  test::writeBytes(area / "Kelamlar.dat", Bytes().text("The stored page", 140));
}

// The one-entity work area (quarterly, posting mode 0) with takings in
// journal 1 for the September quarter and a report's page files, the
// report print settings of operator 1, and the suite's operator file.
class LumctlReading : public ::testing::Test, protected test::LumctlArea {
 protected:
  LumctlReading() {
    test::writeOneEntityWorkArea(area());
    test::writeSalesAndFuelAccounts(area());
    test::writeBytes(dir / "RpP-1.Dat", Bytes().int16(10).zeros(176));
    fs::create_directories(dir / "System" / "Ent-1");
    test::writeBytes(dir / "System" / "Ent-1" / "Oper.dat", Bytes().zeros(88));
    writeOnePageReport(area());
    importRows(1, kHeading + "1.8.26,Takings,1,y,110,110,\n2,Diesel,2,Y,44,,44\n");
  }
  static inline const std::string kHeading = "date,particulars,ref,gst,Amount,Sales,Fuel\n";

  void importRows(int journal, const std::string& csv) {
    test::writeText(out / "rows.csv", csv);
    const Outcome imported = run({"journal", "import", "--journal", std::to_string(journal),
                                  "--period", "I", (out / "rows.csv").string()});
    ASSERT_EQ(imported.status, kExitSuccess) << imported.err;
  }
  // What a command answers on its standard output, or in the file it writes.
  std::string answer(std::vector<std::string> args) {
    const auto outName = std::find(args.begin(), args.end(), "--out");
    Outcome outcome = run(args);
    EXPECT_EQ(outcome.status, kExitSuccess) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    if (outName != args.end() && *(outName + 1) != "-") {
      return test::readText(*(outName + 1));
    }
    return outcome.out;
  }

  test::TempDir out;  // where the commands write, outside the program directory's tree
};

TEST_F(LumctlReading, ReadingCommandsLeaveEveryFileAsItWasEvenWhileTheAreaIsTaken) {
  const std::vector<std::vector<std::string>> commands = {
      {"dump", (area() / "AI010001.dat").string()},
      {"journal", "show", "--journal", "1", "--period", "I"},
      {"report", "gst", "--period", "I", "--format", "json", "--out", (out / "gst.json").string()},
      {"report", "gst", "--period", "I", "--format", "text", "--out", (out / "gst.txt").string()},
      {"report", "trial-balance", "--period", "I", "--format", "pdf", "--out",
       (out / "trial.pdf").string()},
      {"report", "profit-and-loss", "--period", "I", "--title", "Quarter", "--format", "json",
       "--out", (out / "pl.json").string()},
      {"render", "--format", "text", "--out", (out / "page.txt").string()},
      {"stored"},
      {"stored", "--previous-year"},
  };
  // The lock file is there once LumPost has run.
  test::writeText(area() / "LumPost.lck", "");
  const Tree before = treeOf(dir.path());

  std::vector<std::string> answers;
  for (const auto& command : commands) {
    answers.push_back(answer(command));
    EXPECT_EQ(changes(before, treeOf(dir.path())), "") << typed(command);
  }
  EXPECT_NE(answers[2].find(R"("net_gst_liability": "6.0000")"), std::string::npos) << answers[2];
  EXPECT_NE(answers[3].find(" L Takings Book\n"), std::string::npos) << answers[3];
  EXPECT_EQ(answers[4].substr(0, 5), "%PDF-");
  EXPECT_NE(answers[6].find(" L The stored page\n"), std::string::npos) << answers[6];

  // A running copy holds the work area: the same answers, at once.
  const AreaHolder holder(area());
  ASSERT_TRUE(holder.held());
  FileOps ops;
  ASSERT_FALSE(ops.tryLock(ops.open(area() / "LumPost.lck", OpenMode::ReadWriteCreate)));
  for (std::size_t c = 0; c < commands.size(); ++c) {
    const bool pdf = std::find(commands[c].begin(), commands[c].end(), "pdf") != commands[c].end();
    if (!pdf) {  // a PDF carries the time it was made
      EXPECT_EQ(answer(commands[c]), answers[c]) << typed(commands[c]);
    }
    EXPECT_EQ(changes(before, treeOf(dir.path())), "") << typed(commands[c]);
  }
}

TEST_F(LumctlReading, ASaveUnderWayIsReadAsTheFilesWereBeforeIt) {
  // Journal 2's one account.
  test::writeBytes(area() / "An020001.dat",
                   Bytes().text("Wages", 23).text("N", 1).text("E", 1).zeros(8).int16(500));
  const std::vector<std::vector<std::string>> commands = {
      {"report", "gst", "--period", "I", "--format", "json", "--out", (out / "gst.json").string()},
      {"journal", "show", "--journal", "1", "--period", "I"},
      {"journal", "show", "--journal", "2", "--period", "I"},
      {"dump", (area() / "DI010001.dat").string()},
  };
  std::vector<std::string> answersBefore;
  for (const auto& command : commands) {
    answersBefore.push_back(answer(command));
  }
  const Tree before = contentsOf(area());

  // A save changes journal 1 and makes journal 2's files, but has not
  // finished: its marker names every file it changed, with a copy of each
  // that was there before.
  importRows(1, kHeading + "3,More takings,3,Y,220,220,\n");
  importRows(2, "date,particulars,ref,gst,Amount,Wages\n4.8.26,Wages,4,N,500,500\n");
  const fs::path rollback = area() / "Rollback";
  fs::create_directories(rollback);
  std::string marker;
  int index = 0;
  for (const auto& [name, bytes] : contentsOf(area())) {
    const auto was = before.find(name);
    if (was != before.end() && was->second == bytes) {
      continue;
    }
    if (was != before.end()) {
      test::writeText(rollback / (std::to_string(index) + ".copy"), was->second);
    }
    marker += (was != before.end() ? "1 " : "0 ") + name + "\n";
    ++index;
  }
  ASSERT_NE(marker.find("1 DI010001.dat\n"), std::string::npos) << marker;
  ASSERT_NE(marker.find("0 DI020001.dat\n"), std::string::npos) << marker;
  test::writeText(rollback / "marker", marker);
  const Tree underWay = treeOf(dir.path());

  for (std::size_t c = 0; c < commands.size(); ++c) {
    EXPECT_EQ(answer(commands[c]), answersBefore[c]) << typed(commands[c]);
  }
  // Nothing was put back: that is for the copy that takes the area next.
  EXPECT_EQ(changes(underWay, treeOf(dir.path())), "");

  // Once the save is done, its figures are read.
  fs::remove_all(rollback);
  EXPECT_NE(answer(commands[0]), answersBefore[0]);
  EXPECT_NE(answer(commands[2]).find("Wages"), std::string::npos);
}

TEST_F(LumctlReading, OutDashIsTheStandardOutputInEveryFormat) {
  const fs::path dash = fs::current_path() / "-";
  const bool dashWasThere = fs::exists(dash);
  const std::string json = answer(
      {"report", "gst", "--period", "I", "--format", "json", "--out", (out / "gst.json").string()});
  EXPECT_EQ(answer({"report", "gst", "--period", "I", "--format", "json", "--out", "-"}), json);
  EXPECT_EQ(
      answer({"report", "ledgers", "--period", "I", "--format", "pdf", "--out", "-"}).substr(0, 5),
      "%PDF-");
  EXPECT_EQ(answer({"render", "--format", "pdf", "--out", "-"}).substr(0, 5), "%PDF-");
  EXPECT_EQ(answer({"render", "--format", "plain", "--out", "-"}).substr(0, 15),
            "=== page 1 ===\n");
  EXPECT_NE(answer({"report", "gst", "--period", "I", "--format", "text", "--out", "-"})
                .find(" L GST Report\n"),
            std::string::npos);
  EXPECT_EQ(fs::exists(dash), dashWasThere);
  if (!dashWasThere) {
    fs::remove(dash);
  }
}

TEST_F(LumctlReading, PeriodsByTheirNamesInThePeriodSelector) {
  const auto show = [&](const std::string& period) {
    return run({"journal", "show", "--journal", "1", "--period", period});
  };
  const std::string september = show("I").out;
  ASSERT_NE(september.find("Takings"), std::string::npos) << september;
  for (const char* name : {"Sep", "sep", "September", "SEPTEMBER", "Sep-quarter", "sep-Quarter",
                           "September-quarter"}) {
    const Outcome named = show(name);
    EXPECT_EQ(named.status, kExitSuccess) << name << ": " << named.err;
    EXPECT_EQ(named.out, september) << name;
  }
  EXPECT_EQ(show("Jun").out, show("F").out);
  EXPECT_EQ(show("Full Year").out, show("O").out);
  EXPECT_EQ(show("full year").out, show("O").out);

  Outcome refused = show("Aug");
  EXPECT_EQ(refused.status, kExitUsage);
  EXPECT_EQ(refused.err,
            "lumctl: August does not end a quarter: the periods of this quarterly entity are the "
            "quarters ending Mar, Jun, Sep and Dec, and Full Year\n");
  for (const char* notAPeriod : {"i", "Se", "Sept", "Z", "M", "Full"}) {
    refused = show(notAPeriod);
    EXPECT_EQ(refused.status, kExitUsage) << notAPeriod;
    EXPECT_NE(refused.err.find("is not a period of this quarterly entity"), std::string::npos)
        << refused.err;
  }

  // A monthly entity: months by name, and no quarters.
  test::writeSetup(area(), {"0", "M"});
  EXPECT_EQ(show("Sep").out, september);
  EXPECT_EQ(show("Aug").out, show("H").out);
  EXPECT_EQ(show("august").out, show("H").out);
  EXPECT_EQ(show("Aug").out.find("Takings"), std::string::npos);
  EXPECT_EQ(show("Full Year").out, show("M").out);
  refused = show("Sep-quarter");
  EXPECT_EQ(refused.status, kExitUsage);
  EXPECT_NE(refused.err.find("Sep-quarter is not a period of this monthly entity"),
            std::string::npos)
      << refused.err;
}

TEST_F(LumctlReading, AGroupOrOperatorWithoutAWorkAreaIsRefused) {
  const Tree before = treeOf(dir.path());
  const std::string csv = (out / "rows.csv").string();
  const std::vector<std::vector<std::string>> commands = {
      {"dump", (area() / "Lcn-0001.dat").string()},
      {"journal", "show", "--journal", "1", "--period", "I"},
      {"journal", "import", "--journal", "1", "--period", "I", csv},
      {"report", "gst", "--format", "json", "--out", (out / "gst.json").string()},
      {"render", "--format", "text", "--out", "-"},
      {"store"},
      {"bring-back", "--slot", "1"},
      {"stored"},
  };
  for (const auto& place :
       std::vector<std::vector<std::string>>{{"--group", "5"}, {"--operator", "2"}}) {
    for (auto args : commands) {
      args.insert(args.begin(), place.begin(), place.end());
      args.insert(args.begin(), {"--root", prog().string()});
      const Outcome refused = lumctl(args);
      EXPECT_EQ(refused.status, kExitRefused) << typed(args);
      const std::string said = place[0] == "--group"
                                   ? "operator 1 of group 5 has no work area (there is no folder "
                                     "Ent-5/Op-1 in "
                                   : "operator 2 of group 0 has no work area (there is no folder "
                                     "Ent-0/Op-2 in ";
      EXPECT_NE(refused.err.find("lumctl: " + said + prog().string() + ")"), std::string::npos)
          << refused.err;
      EXPECT_EQ(changes(before, treeOf(dir.path())), "") << typed(args);
    }
  }
  // A new entity makes its work area.
  const Outcome made =
      lumctl({"--root", prog().string(), "--group", "5", "new-entity", "--name", "New Shop"});
  EXPECT_EQ(made.status, kExitSuccess) << made.err;
  EXPECT_TRUE(fs::is_directory(prog() / "Ent-5" / "Op-1"));
}

TEST_F(LumctlReading, TheProgramSaysNothingOfQtOnTheErrorStream) {
  // No runtime folder of the user's own, as under cron or ssh.
  const test::TempDir temporary;
  const std::string command = "env -u XDG_RUNTIME_DIR TMPDIR='" + temporary.path().string() +
                              "' '" LUMCTL_PROGRAM "' --root '" + prog().string() +
                              "' --group 1 report gst --period I --format pdf --out '" +
                              (out / "gst.pdf").string() + "' 2>'" + (out / "err.txt").string() +
                              "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << test::readText(out / "err.txt");
  EXPECT_EQ(test::readText(out / "err.txt"), "");
  EXPECT_EQ(test::readText(out / "gst.pdf").substr(0, 5), "%PDF-");
  EXPECT_TRUE(fs::is_empty(temporary.path()));  // its private folders are gone
}

}  // namespace
}  // namespace lum
