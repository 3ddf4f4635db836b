#include "platform/work_area_transaction.h"

#include <fmt/core.h>

#include <stdexcept>
#include <string>

#include "platform/errors.h"
#include "platform/scope_guard.h"

namespace lum {
namespace {

constexpr const char* kMarker = "marker";
constexpr const char* kMarkerDraft = "marker.new";

std::filesystem::path copyName(const std::filesystem::path& folder, std::size_t line) {
  return folder / fmt::format("{}.copy", line);
}

void flushFile(FileOps& ops, const std::filesystem::path& path) {
  FileHandle file = ops.open(path, OpenMode::ReadOnly);
  ops.flush(file);
  ops.close(file);
}

std::vector<std::byte> bytesOf(const std::string& text) {
  const auto* data = reinterpret_cast<const std::byte*>(text.data());
  return {data, data + text.size()};
}

std::filesystem::path normalised(const std::filesystem::path& path) {
  return std::filesystem::absolute(path).lexically_normal();
}

// One line of a marker: what a path was before the transaction.
struct MarkerLine {
  char kind;  // '1' a file with its copy, '0' no file, 'D' no folder
  std::filesystem::path path;
  std::size_t number;  // from 0: its copy's name
};

// The marker's lines; a last line without its line end was never acted on.
std::optional<std::vector<MarkerLine>> markerLines(FileOps& ops,
                                                   const std::filesystem::path& folder) {
  const auto marker = folder / kMarker;
  if (!ops.exists(marker)) {
    return std::nullopt;
  }
  const auto bytes = ops.readFile(marker);
  const std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::vector<MarkerLine> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      break;
    }
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    const bool known =
        line.size() >= 3 && line[1] == ' ' && (line[0] == '1' || line[0] == '0' || line[0] == 'D');
    if (!known) {
      throw FormatError("The rollback marker in " + folder.string() + " is damaged");
    }
    lines.push_back({line[0], folder.parent_path() / line.substr(2), lines.size()});
  }
  return lines;
}

}  // namespace

WorkAreaTransaction::WorkAreaTransaction(FileOps& ops, std::filesystem::path folder)
    : mOps(&ops), mFolder(normalised(folder)) {
  if (ops.observesChanges()) {
    mJoined = true;
    return;
  }
  recover(ops, mFolder);  // a change this process could not put back before
  ops.makeDirectories(mFolder);
  for (const auto& name : ops.list(mFolder)) {
    ops.remove(mFolder / name);  // copies a finished transaction could not delete
  }
  ops.writeFile(mFolder / kMarkerDraft, {});
  ops.rename(mFolder / kMarkerDraft, mFolder / kMarker);
  ops.flushDirectory(mFolder);
  mOpen = true;
  observe();
}

WorkAreaTransaction::~WorkAreaTransaction() {
  if (!mOpen) {
    return;
  }
  mOps->setChangeObserver({});
  try {
    recover(*mOps, mFolder);
  } catch (const std::exception&) {
    // The marker stays: the next opening of the work area puts the files back.
  }
}

void WorkAreaTransaction::changing(const std::filesystem::path& path, FileChange change) {
  if (change == FileChange::File) {
    keep({path});
    return;
  }
  const auto folder = normalised(path);
  if (mKept.count(folder) != 0) {
    return;
  }
  // The marker is no change to keep: the observer is off while it is written.
  mOps->setChangeObserver({});
  const ScopeGuard observeAgain([this] { observe(); });
  append(fmt::format("D {}\n", folder.lexically_relative(mFolder.parent_path()).string()));
  mKept.insert(folder);
  ++mLines;
}

void WorkAreaTransaction::keep(const std::vector<std::filesystem::path>& files) {
  if (mJoined) {
    for (const auto& file : files) {
      mOps->changing(file);  // the outer transaction keeps it
    }
    return;
  }
  // The copies and the marker are no changes to keep.
  mOps->setChangeObserver({});
  const ScopeGuard observeAgain([this] { observe(); });
  std::string lines;
  bool copied = false;
  for (const auto& given : files) {
    const auto file = normalised(given);
    if (mKept.count(file) != 0 || file.parent_path() == mFolder ||
        mLeftOut.count(file.parent_path()) != 0 || mOps->isDirectory(file)) {
      continue;
    }
    char kind = '0';
    if (mOps->exists(file)) {
      mOps->copy(file, copyName(mFolder, mLines));
      flushFile(*mOps, copyName(mFolder, mLines));
      kind = '1';
      copied = true;
    }
    lines += fmt::format("{} {}\n", kind, file.lexically_relative(mFolder.parent_path()).string());
    mKept.insert(file);
    ++mLines;
  }
  if (lines.empty()) {
    return;
  }
  if (copied) {
    mOps->flushDirectory(mFolder);  // the copies are there before the marker names them
  }
  append(lines);
}

void WorkAreaTransaction::leaveOut(const std::filesystem::path& folder) {
  mLeftOut.insert(normalised(folder));
}

void WorkAreaTransaction::observe() {
  if (mOpen) {
    mOps->setChangeObserver(
        [this](const std::filesystem::path& path, FileChange change) { changing(path, change); });
  }
}

void WorkAreaTransaction::append(const std::string& lines) {
  FileHandle marker = mOps->open(mFolder / kMarker, OpenMode::ReadWriteCreate);
  mOps->writeAt(marker, mOps->size(marker), bytesOf(lines));
  mOps->flush(marker);
  mOps->close(marker);
}

void WorkAreaTransaction::commit() {
  if (mJoined) {
    return;
  }
  // Until the marker is gone a failure puts everything back (the destructor).
  mOps->setChangeObserver({});
  std::set<std::filesystem::path> folders;
  for (const auto& file : mKept) {
    if (mOps->exists(file) && !mOps->isDirectory(file)) {
      flushFile(*mOps, file);
    }
    folders.insert(file.parent_path());
  }
  for (const auto& folder : folders) {
    if (mOps->isDirectory(folder)) {
      mOps->flushDirectory(folder);
    }
  }
  mOps->remove(mFolder / kMarker);
  mOpen = false;
  // Done: the copies left by a failure here go with the next transaction.
  try {
    mOps->flushDirectory(mFolder);
    for (std::size_t line = 0; line < mLines; ++line) {
      mOps->remove(copyName(mFolder, line));
    }
  } catch (const FileError&) {
  }
}

std::optional<std::vector<WorkAreaTransaction::Kept>> WorkAreaTransaction::pending(
    FileOps& ops, const std::filesystem::path& folder) {
  const auto lines = markerLines(ops, folder);
  if (!lines) {
    return std::nullopt;
  }
  std::vector<Kept> kept;
  for (const MarkerLine& line : *lines) {
    if (line.kind != 'D') {
      kept.push_back({line.path, line.kind == '1' ? std::optional(copyName(folder, line.number))
                                                  : std::nullopt});
    }
  }
  return kept;
}

bool WorkAreaTransaction::recover(FileOps& ops, const std::filesystem::path& folder) {
  const auto lines = markerLines(ops, folder);
  if (!lines) {
    return false;
  }
  // The last change first: a file goes before the folder made for it.
  for (auto line = lines->rbegin(); line != lines->rend(); ++line) {
    if (line->kind == '1') {
      ops.makeDirectories(line->path.parent_path());
      ops.copy(copyName(folder, line->number), line->path);
      flushFile(ops, line->path);
    } else if (line->kind == '0') {
      ops.remove(line->path);
    } else if (!ops.removeEmptyDirectory(line->path)) {
      continue;  // not empty: something not of this change is in it
    }
    // A folder the change made may have gone already (a staging folder
    // every opening removes): nothing of it is left to make durable.
    if (ops.isDirectory(line->path.parent_path())) {
      ops.flushDirectory(line->path.parent_path());
    }
  }
  ops.remove(folder / kMarker);
  ops.flushDirectory(folder);
  for (const MarkerLine& line : *lines) {
    if (line.kind == '1') {
      ops.remove(copyName(folder, line.number));
    }
  }
  return true;
}

void WorkAreaTransaction::removeStaging(FileOps& ops, const std::filesystem::path& rollbackFolder) {
  const auto staging = stagingFolder(rollbackFolder);
  if (!ops.isDirectory(staging)) {
    return;
  }
  for (const auto& name : ops.list(staging)) {
    ops.remove(staging / name);
  }
  ops.removeEmptyDirectory(staging);
}

}  // namespace lum
