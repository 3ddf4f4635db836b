// The page-file interpreter: the stored pages of a report (DosyaYaz.dat and
// Kelamlar.dat) replayed on the text device, as lumctl render does, with
// the operator's print settings when there are some.
//
// The input: one byte, then four files as splitFiles lays them out: the
// page headers (records 1 on), the commands (written from record 1001
// on, after the headers padded with blank records), the texts, and the
// print settings (missing: none). When the first byte has its high bit
// set, the headers and commands are the command file as they stand, so
// files cut short before record 1001 are tried too.
//
// The replay must not fail on any page files, write nothing but the copy
// of the settings, write one well-formed line per drawn item, tell each
// fault at most once a page, and draw a page that starts the way the
// program writes pages (with "SBas") the same alone as in the whole report.

#include <cmath>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/record_file.h"
#include "platform/scripted_prompter.h"
#include "platform/text.h"
#include "post/render/text_page_device.h"
#include "post/render/yazan.h"

namespace lum::fuzz {
namespace {

namespace fs = std::filesystem;

struct Fixture {
  Fixture() : folder(scratchFolder() / "pages"), paths(ops, folder, folder / "floppy") {
    fs::create_directories(folder);
    // A picture a page may name; the text device lists it by name.
    placeFile(folder / "logo.png", {true, std::vector<std::byte>(16, std::byte{0x89})});
  }
  fs::path commands() const { return folder / "DosyaYaz.dat"; }
  fs::path texts() const { return folder / "Kelamlar.dat"; }
  fs::path settings() const { return folder / "RpP-1.Dat"; }
  // The private copy the replay may write a default font into.
  fs::path settingsCopy() const { return folder / "RepPar.Dat"; }

  fs::path folder;
  FileOps ops;
  DosPath paths;
  ScriptedPrompter prompter;
};

Fixture& fixture() {
  static Fixture instance;
  return instance;
}

struct Replay {
  int pageCount = 0;
  std::vector<std::string> pages;              // the listing of each page, from page 1
  std::vector<std::vector<std::string>> told;  // what each page told the user
  std::string listing;
};

// Replays the pages first to last (0: all of them), as lumctl render does.
Replay replay(Fixture& f, int first, int last) {
  RecordFile commands(f.ops, f.commands(), PageCommandRecord::kSize, RecordFile::Access::ReadOnly);
  RecordFile texts(f.ops, f.texts(), PageTextRecord::kSize, RecordFile::Access::ReadOnly);
  std::optional<RecordFile> settings;
  if (fs::exists(f.settings())) {
    fs::copy_file(f.settings(), f.settingsCopy(), fs::copy_options::overwrite_existing);
    settings.emplace(f.ops, f.settingsCopy(), ReportPrintSettings::kSize);
  }
  Yazan yazan(f.ops, f.prompter);
  yazan.attachFiles(&commands, &texts);
  yazan.attachSettings(settings ? &*settings : nullptr);
  // Pictures are found as the programs find them: a Windows-style name
  // from the program directory.
  yazan.setPictureResolver([&f](std::string_view name) { return f.paths.resolve(name); });

  std::ostringstream out;
  FixedTextMetrics metrics;
  TextPageDevice device(out, metrics);
  yazan.setPrinter(&device);
  yazan.setNextDevice(OutputDevice::Printer);
  f.prompter.clear();
  yazan.BeginOutput();

  Replay result;
  result.pageCount = yazan.storedPageCount();
  yazan.setPageCount(result.pageCount);
  if (first == 0) {
    first = 1;
    last = result.pageCount;
  }
  for (int page = first; page <= last; ++page) {
    const auto start = out.str().size();
    const auto toldBefore = f.prompter.texts().size();
    yazan.setPageNumber(page);
    yazan.LoadPage();
    yazan.SBit();
    result.pages.push_back(out.str().substr(start));
    const auto told = f.prompter.texts();
    result.told.emplace_back(told.begin() + static_cast<std::ptrdiff_t>(toldBefore), told.end());
  }
  result.listing = out.str();
  return result;
}

bool isMillimetres(std::string_view text) {
  if (!text.empty() && text.front() == '-') {
    text.remove_prefix(1);
  }
  const auto point = text.find('.');
  return point != std::string_view::npos && point > 0 && point + 2 == text.size() &&
         text.find_first_not_of("0123456789.") == std::string_view::npos;
}

// One line of the listing: "page y x L|R text", "page y x1 RULE x2",
// "page y1 x1 LINE|BOX y2 x2", "page y x POINT", "page y x PICTURE y2 x2 name".
void checkLine(std::string_view line, int pageCount) {
  std::vector<std::string_view> fields;
  for (std::size_t at = 0; fields.size() < 5;) {
    const auto blank = line.find(' ', at);
    fields.push_back(line.substr(at, blank == std::string_view::npos ? blank : blank - at));
    if (blank == std::string_view::npos) {
      break;
    }
    at = blank + 1;
    if (fields.size() == 4 && (fields[3] == "L" || fields[3] == "R")) {
      fields.push_back(line.substr(at));  // the text, blanks and all
      break;
    }
  }
  const std::string text(line);
  LUM_FUZZ_CHECK(fields.size() >= 4, "a listing line has too few fields: " + text);
  const int page = std::atoi(std::string(fields[0]).c_str());
  LUM_FUZZ_CHECK(fields[0].find_first_not_of("0123456789") == std::string_view::npos && page >= 0 &&
                     page <= pageCount,
                 "a listing line names no page of the report: " + text);
  LUM_FUZZ_CHECK(isMillimetres(fields[1]) && isMillimetres(fields[2]),
                 "a listing line has no position: " + text);
  const std::string_view kind = fields[3];
  if (kind == "L" || kind == "R") {
    LUM_FUZZ_CHECK(fields.size() == 5 && !fields[4].empty(),
                   "a text line without its text: " + text);
  } else if (kind == "RULE") {
    LUM_FUZZ_CHECK(fields.size() == 5 && isMillimetres(fields[4]), "a bad rule line: " + text);
  } else if (kind == "POINT") {
    LUM_FUZZ_CHECK(fields.size() == 4, "a bad point line: " + text);
  } else {
    LUM_FUZZ_CHECK(kind == "LINE" || kind == "BOX" || kind == "PICTURE",
                   "a listing line of no known kind: " + text);
  }
}

void checkListing(const Replay& result) {
  std::string_view rest = result.listing;
  while (!rest.empty()) {
    const auto end = rest.find('\n');
    LUM_FUZZ_CHECK(end != std::string_view::npos, "the listing does not end with a line end");
    checkLine(rest.substr(0, end), result.pageCount);
    rest.remove_prefix(end + 1);
  }
  for (std::size_t p = 0; p < result.told.size(); ++p) {
    const std::set<std::string> distinct(result.told[p].begin(), result.told[p].end());
    LUM_FUZZ_CHECK(distinct.size() == result.told[p].size(),
                   "page " + std::to_string(p + 1) + " told the same thing twice");
  }
}

// Whether the page's command records start with "SBas", as every page the
// program writes does.
bool startsAsWritten(Fixture& f, int page) {
  RecordFile commands(f.ops, f.commands(), PageCommandRecord::kSize, RecordFile::Access::ReadOnly);
  const auto header = commands.get<PageCommandRecord>(page);
  const float first = header.a;
  if (!std::isfinite(first) || first < 1 || first > static_cast<float>(commands.recordCount())) {
    return false;
  }
  const auto record =
      commands.get<PageCommandRecord>(static_cast<std::int64_t>(std::lround(first)));
  return trim(record.code) == "SBas";
}

}  // namespace
}  // namespace lum::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lum;
  using namespace lum::fuzz;
  if (size == 0) {
    return 0;
  }
  Fixture& f = fixture();
  const bool asTheyStand = (data[0] & 0x80) != 0;
  auto files = splitFiles(std::span(data + 1, size - 1), 4);
  InputFile commands{true, files[0].bytes};
  if (!asTheyStand) {
    commands.bytes.resize(PageFiles::kHeaderRecords * PageCommandRecord::kSize, std::byte{0});
  }
  commands.bytes.insert(commands.bytes.end(), files[1].bytes.begin(), files[1].bytes.end());
  files[2].present = true;
  placeFile(f.commands(), commands);
  placeFile(f.texts(), files[2]);
  placeFile(f.settings(), files[3]);
  std::error_code ignored;
  fs::remove(f.settingsCopy(), ignored);

  const TreeSnapshot before = snapshotTree(f.folder);
  Replay whole;
  try {
    whole = replay(f, 0, 0);
  } catch (const FormatError&) {
    // A record cut short where a header or the settings should be: lumctl
    // and the viewer tell it and draw nothing.
    const bool settingsCut = files[3].present && !files[3].bytes.empty() &&
                             files[3].bytes.size() < ReportPrintSettings::kSize;
    const bool commandsCut = commands.bytes.size() % PageCommandRecord::kSize != 0;
    LUM_FUZZ_CHECK(settingsCut || commandsCut,
                   "the replay refused page files that hold only whole records");
    return 0;
  }
  const std::string written = treeDifference(withoutPaths(before, {"RepPar.Dat"}),
                                             withoutPaths(snapshotTree(f.folder), {"RepPar.Dat"}));
  LUM_FUZZ_CHECK(written.empty(), "the replay wrote files:\n" + written);
  LUM_FUZZ_CHECK(whole.pageCount >= 0 && whole.pageCount <= PageFiles::kMaxPages,
                 "the page count is outside the bounds");
  checkListing(whole);

  // The last page alone, as the viewer shows it or a range prints it.
  const int last = whole.pageCount;
  if (last >= 2 && startsAsWritten(f, last)) {
    const Replay alone = replay(f, last, last);
    LUM_FUZZ_CHECK(alone.pages.front() == whole.pages.back(),
                   "page " + std::to_string(last) +
                       " draws otherwise alone than in the whole report:\n" + alone.pages.front() +
                       "---\n" + whole.pages.back());
  }
  return 0;
}
