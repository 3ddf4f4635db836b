#include "tools/lumctl/store_command.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <charconv>
#include <ostream>

#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/text.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/headless.h"
#include "tools/lumctl/settled_reading.h"
#include "utils/storage.h"
#include "utils/utils_records.h"
#include "utils/utils_session.h"

namespace lum {
namespace {

// The data manager's session over lumctl's program directory, as LumUtils
// starts it for the operator and group of the global options.
class HeadlessUtils {
 public:
  HeadlessUtils(const GlobalOptions& options, std::ostream& err)
      : mPaths(mOps, options.root,
               DosPath::floppyDirectoryFor(options.root, std::getenv("LUM_FLOPPY"))),
        mPrompter(err),
        mSession(mOps, mPaths, mPrompter, mClock, mWaiter,
                 UtilsCommandLine{options.operatorNumber, 0, options.groupNumber}),
        mStorage(mSession) {
    if (options.batchLock != nullptr) {
      mSession.lock().borrowFrom(*options.batchLock);
    }
  }

  // Starts the session and selects the store folder; false when refused.
  bool start(bool previousYear) {
    mSession.start();
    return !previousYear || mStorage.selectPreviousYear();
  }
  Storage& storage() { return mStorage; }
  UtilsSession& session() { return mSession; }

 private:
  FileOps mOps;
  DosPath mPaths;
  SystemClock mClock;
  SleepingWaiter mWaiter;
  StreamPrompter mPrompter;
  UtilsSession mSession;
  Storage mStorage;
};

std::optional<int> slotNumber(const std::string& text) {
  int slot = 0;
  const auto* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, slot);
  if (error != std::errc() || at != end || slot < 1 || slot > 32767) {
    return std::nullopt;
  }
  return slot;
}

template <class Action>
int run(const GlobalOptions& global, bool previousYear, std::ostream& err, Action action) {
  try {
    HeadlessUtils utils(global, err);
    if (!utils.start(previousYear)) {
      return kExitRefused;
    }
    return action(utils.storage());
  } catch (const std::exception& error) {
    fmt::print(err, "lumctl: {}\n", error.what());
    return kExitRefused;
  }
}

// The store folders saved in the work area's ZipPath.Cfg (record 1 the
// current year's, 3 the previous year's), as the data manager reads them
// when it starts; read here without the folders its start makes.
void readSavedFolders(UtilsSession& session, FileSource& files) {
  const auto path = session.filePath("ZipPath");
  if (!path || !session.ops().exists(files.readPath(*path))) {
    return;
  }
  auto file = session.open("ZipPath", RecordFile::Access::ReadOnly);
  const auto folder = [&](int record, std::string& saved) {
    if (file->recordCount() < record) {
      return;
    }
    std::string text(trim(file->get<FolderRecord>(record).folder));
    if (!text.empty()) {
      saved = text.back() == '\\' ? text : text + '\\';
    }
  };
  folder(1, session.folders().currentYearFolder);
  folder(3, session.folders().previousYearFolder);
  session.folders().storeFolder = session.folders().currentYearFolder;
}

}  // namespace

int storeEntity(const GlobalOptions& global, const StoreOptions& options, std::ostream& out,
                std::ostream& err) {
  const bool next = options.slot == "next";
  const auto slot = next ? std::optional(0) : slotNumber(options.slot);
  if (!slot) {
    fmt::print(err, "lumctl: --slot takes next or a slot number from 1, not {}\n", options.slot);
    return kExitUsage;
  }
  return run(global, options.previousYear, err, [&](Storage& storage) {
    const auto stored =
        storage.storeAway(next ? Storage::Location::NextSlot : Storage::Location::SelectedSlot,
                          *slot, Storage::Target::HardDisk);
    if (!stored) {
      return int{kExitRefused};
    }
    fmt::print(out, "{}\n", *stored);
    return int{kExitSuccess};
  });
}

int bringBackEntity(const GlobalOptions& global, const StoreOptions& options, std::ostream& out,
                    std::ostream& err) {
  const auto slot = slotNumber(options.slot);
  if (!slot) {
    fmt::print(err, "lumctl: --slot takes a slot number from 1, not {}\n", options.slot);
    return kExitUsage;
  }
  return run(global, options.previousYear, err, [&](Storage& storage) {
    const bool done = storage.bringBackToWorkArea(*slot, options.clear);
    for (const auto& name : storage.lastUnzip().extracted) {
      fmt::print(out, "{}\n", name);
    }
    return done ? int{kExitSuccess} : int{kExitRefused};
  });
}

int listStored(const GlobalOptions& global, const StoreOptions& options, std::ostream& out,
               std::ostream& err) {
  FileOps ops;
  return readSettled(ops, workAreaFolder(global), "", out, err, [&](Reading& reading) {
    // Not started: the start makes the group's store folders when missing.
    HeadlessUtils utils(global, reading.err);
    UtilsSession& session = utils.session();
    readSavedFolders(session, reading.files);
    Storage& storage = utils.storage();
    if (options.previousYear) {
      // The default folder is made at the start: not there yet, it is empty.
      const std::string& folder = session.folders().previousYearFolder;
      if (equalsIgnoreCase(folder, session.defaultPreviousYearFolder()) &&
          !ops.isDirectory(session.resolve(folder))) {
        return int{kExitSuccess};
      }
      if (!storage.selectPreviousYear()) {
        return int{kExitRefused};
      }
    }
    for (const char* name : {"UtCount", "EnList"}) {
      reading.files.readPath(*session.filePath(name));
    }
    std::string listing;
    int slot = 0;
    for (const auto& text : storage.entries()) {
      ++slot;
      const std::string name(trim(leftCharacters(text, 20)));
      const std::string date(trim(std::string_view(text).substr(leftCharacters(text, 21).size())));
      listing += fmt::format("{}\t{}\t{}\n", slot, name, date);
    }
    reading.output = listing;
    return int{kExitSuccess};
  });
}

void addStoreCommands(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<StoreOptions>();
  // A command of the work area: its status, or refused when there is none.
  const auto run = [&context, options](auto command, bool changes) {
    return [&context, options, command, changes] {
      const bool there = changes ? context.workAreaToChange() : context.workAreaThere();
      context.status =
          there ? command(context.options, *options, context.out, context.err) : kExitRefused;
    };
  };
  CLI::App* store = app.add_subcommand(
      "store",
      "Store Away: zip the work area's data files into a slot of the stored entities list "
      "and name the entity there; prints the slot");
  store->add_option("--slot", options->slot, "next (default) or the slot to override");
  store->add_flag("--previous-year", options->previousYear, "Into the previous-year store folder");
  store->callback(run(storeEntity, true));
  CLI::App* bringBack = app.add_subcommand(
      "bring-back",
      "Bring Back: unzip a stored entity's data files into the work area, over the files there "
      "unless --clear; prints the files written");
  bringBack->add_option("--slot", options->slot, "The slot in the stored entities list")
      ->required();
  bringBack->add_flag("--clear", options->clear,
                      "Clear the work area first (the four analysis lists are kept)");
  bringBack->add_flag("--previous-year", options->previousYear,
                      "From the previous-year store folder");
  bringBack->callback(run(bringBackEntity, true));
  CLI::App* stored = app.add_subcommand(
      "stored", "List the stored entities: slot, name and date stored, tab-separated");
  stored->add_flag("--previous-year", options->previousYear, "The previous-year store folder");
  stored->callback(run(listStored, false));
}

}  // namespace lum
