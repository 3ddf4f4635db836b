#include "platform/rollback.h"

#include <fmt/core.h>

#include <string>

#include "platform/errors.h"

namespace lum {
namespace {

constexpr const char* kMarker = "marker";
constexpr const char* kMarkerDraft = "marker.new";

std::filesystem::path copyName(const std::filesystem::path& folder, std::size_t index) {
  return folder / fmt::format("{}.copy", index);
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

// Marker lines: "1 path" for a file that existed (its copy is index.copy),
// "0 path" for one that did not. Paths are relative to the folder's parent.
std::string markerText(FileOps& ops, const std::filesystem::path& folder,
                       const std::vector<std::filesystem::path>& files) {
  std::string text;
  for (const auto& file : files) {
    text += ops.exists(file) ? "1 " : "0 ";
    text += file.lexically_relative(folder.parent_path()).string();
    text += '\n';
  }
  return text;
}

}  // namespace

Rollback::Rollback(FileOps& ops, std::filesystem::path folder)
    : mOps(&ops), mFolder(std::move(folder)) {}

void Rollback::begin(const std::vector<std::filesystem::path>& files) {
  mFiles = files;
  if (!mOps->isDirectory(mFolder)) {
    mOps->makeDirectory(mFolder);
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (mOps->exists(files[i])) {
      mOps->copy(files[i], copyName(mFolder, i));
      flushFile(*mOps, copyName(mFolder, i));
    }
  }
  mOps->writeFile(mFolder / kMarkerDraft, bytesOf(markerText(*mOps, mFolder, files)));
  mOps->rename(mFolder / kMarkerDraft, mFolder / kMarker);
  mOps->flushDirectory(mFolder);
}

void Rollback::commit() {
  for (const auto& file : mFiles) {
    if (mOps->exists(file)) {
      flushFile(*mOps, file);
      mOps->flushDirectory(file.parent_path());
    }
  }
  mOps->remove(mFolder / kMarker);
  mOps->flushDirectory(mFolder);
  for (std::size_t i = 0; i < mFiles.size(); ++i) {
    mOps->remove(copyName(mFolder, i));
  }
  mFiles.clear();
}

std::optional<std::vector<Rollback::Kept>> Rollback::pending(FileOps& ops,
                                                             const std::filesystem::path& folder) {
  const auto marker = folder / kMarker;
  if (!ops.exists(marker)) {
    return std::nullopt;
  }
  const auto bytes = ops.readFile(marker);
  const std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::vector<Kept> kept;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      end = text.size();
    }
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.size() < 3) {
      throw FormatError("The rollback marker in " + folder.string() + " is damaged");
    }
    const auto file = folder.parent_path() / line.substr(2);
    kept.push_back(
        {file, line[0] == '1' ? std::optional(copyName(folder, kept.size())) : std::nullopt});
  }
  return kept;
}

bool Rollback::recover(FileOps& ops, const std::filesystem::path& folder) {
  const auto kept = pending(ops, folder);
  if (!kept) {
    return false;
  }
  for (const Kept& entry : *kept) {
    if (entry.copy) {
      ops.copy(*entry.copy, entry.file);
      flushFile(ops, entry.file);
    } else {
      ops.remove(entry.file);
    }
    ops.flushDirectory(entry.file.parent_path());
  }
  ops.remove(folder / kMarker);
  ops.flushDirectory(folder);
  for (std::size_t i = 0; i < kept->size(); ++i) {
    ops.remove(copyName(folder, i));
  }
  return true;
}

}  // namespace lum
