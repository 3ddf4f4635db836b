#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "post/journals/journal.h"
#include "post/login/session.h"

namespace lum {

// The files of one journal of the session's entity in the selected GST
// period: its lines (D), amounts (A) and column totals (G) of the period,
// its analysis columns (An, Ax), and the entity's budget. Loads the journal
// into memory and saves it back; a save changes all its files or none,
// even when the program dies half-way.
class JournalFiles {
 public:
  JournalFiles(Session& session, int journalNumber);

  int journalNumber() const { return mJournalNumber; }
  FileOps& ops() const;

  Journal load() const;
  // The journal's analysis columns 1 to count from its An and Ax files, at
  // their numbers (element 0 unused); columns past the files are blank.
  std::vector<AnalysisColumn> analysisColumns(int count) const;
  void save(Journal& journal);

  // Copies taken when the journal is opened, so the editing can be abandoned.
  void takeSnapshots();
  void restoreSnapshots();
  void dropSnapshots();

  // The period letters whose files follow column changes: every period of
  // the scheme and the full year.
  std::vector<char> periodLetters() const;
  // The budget month (1 July to 12 June) the selected period stands for.
  int budgetIndex() const;
  // The same for any period letter of the scheme ("M" or "O", the full
  // year, give January or the March quarter).
  static int budgetIndexOf(char periodLetter, bool quarterly);

  std::filesystem::path path(const char* logicalName, char periodLetter) const;
  std::filesystem::path path(const char* logicalName) const;

 private:
  std::vector<std::byte> read(const std::filesystem::path& file) const;
  void carryColumnChange(
      int change, const Journal& journal, char period,
      std::vector<std::pair<std::filesystem::path, std::vector<std::byte>>>& out) const;

  Session* mSession;
  int mJournalNumber;
  char mPeriodLetter;
  bool mQuarterly;
};

}  // namespace lum
