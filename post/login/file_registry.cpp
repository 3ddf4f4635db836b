#include "post/login/file_registry.h"

#include <fmt/core.h>

#include <array>
#include <exception>
#include <stdexcept>

#include "platform/cp1252.h"

namespace lum {
namespace {

std::string piece(std::string_view name, const FileNaming& naming) {
  if (name == "D")
    return naming.dataDirectory;
  if (name == "W")
    return naming.workArea;
  if (name == "S")
    return naming.systemDirectory;
  if (name == "E")
    return fmt::format("{:04}", naming.entityNumber);
  if (name == "J")
    return fmt::format("{:02}", naming.journalNumber);
  if (name == "P")
    return std::string(1, naming.periodLetter);
  if (name == "O4")
    return fmt::format("{:04}", naming.operatorNumber);
  if (name == "Op")
    return fmt::format("{}", naming.operatorNumber);
  throw std::logic_error("Unknown file name piece {" + std::string(name) + "}");
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      end = text.size();
    }
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::span<const RegistryEntry> registryEntries() {
  return kRegistryTable;
}

const RegistryEntry* findRegistryEntry(std::string_view logicalName) {
  for (const auto& entry : kRegistryTable) {
    if (entry.logicalName == logicalName) {
      return &entry;
    }
  }
  return nullptr;
}

std::string expandPattern(std::string_view pattern, const FileNaming& naming) {
  std::string name;
  while (!pattern.empty()) {
    const std::size_t open = pattern.find('{');
    name += pattern.substr(0, open);
    if (open == std::string_view::npos) {
      break;
    }
    const std::size_t close = pattern.find('}', open);
    name += piece(pattern.substr(open + 1, close - open - 1), naming);
    pattern.remove_prefix(close + 1);
  }
  return name;
}

FileRegistry::FileRegistry(FileOps& ops, const DosPath& paths, Prompter& prompter)
    : mOps(&ops), mPaths(&paths), mPrompter(&prompter) {}

const RegistryEntry* FileRegistry::lookUp(std::string_view logicalName) {
  const RegistryEntry* entry = findRegistryEntry(logicalName);
  if (entry == nullptr) {
    mPrompter->message("The file " + std::string(logicalName) + " cannot be found");
  }
  return entry;
}

bool FileRegistry::exists(std::string_view dosName) const {
  const auto live = mPaths->resolve(dosName);
  return mOps->exists(mSource != nullptr ? mSource->readPath(live) : live);
}

std::string FileRegistry::dosName(const RegistryEntry& entry, const FileNaming& naming) const {
  return expandPattern(entry.pattern, naming);
}

std::filesystem::path FileRegistry::path(const RegistryEntry& entry,
                                         const FileNaming& naming) const {
  const auto live = mPaths->resolve(dosName(entry, naming));
  return mSource != nullptr ? mSource->readPath(live) : live;
}

RecordFile* FileRegistry::open(std::string_view logicalName, const FileNaming& naming,
                               RecordFile::Access access) {
  const RegistryEntry* entry = lookUp(logicalName);
  if (entry == nullptr) {
    return nullptr;
  }
  if (entry->recordLength == 0) {
    throw std::logic_error("The file " + std::string(logicalName) + " is a text file");
  }
  close(logicalName);
  const auto live = mPaths->resolve(dosName(*entry, naming));
  RecordFile file(*mOps, mSource != nullptr ? mSource->privateFile(logicalName, live) : live,
                  entry->recordLength, access);
  return &mOpen.emplace(std::string(logicalName), std::move(file)).first->second;
}

std::optional<std::vector<std::string>> FileRegistry::readLines(std::string_view logicalName,
                                                                const FileNaming& naming) {
  const RegistryEntry* entry = lookUp(logicalName);
  if (entry == nullptr) {
    return std::nullopt;
  }
  const auto file = path(*entry, naming);
  if (!mOps->exists(file)) {
    return std::nullopt;
  }
  return splitLines(cp1252ToUtf8(mOps->readFile(file)));
}

bool FileRegistry::isOpen(std::string_view logicalName) const {
  return mOpen.find(logicalName) != mOpen.end();
}

RecordFile& FileRegistry::file(std::string_view logicalName) {
  const auto it = mOpen.find(logicalName);
  if (it == mOpen.end()) {
    throw std::logic_error("The file " + std::string(logicalName) + " is not open");
  }
  return it->second;
}

void FileRegistry::close(std::string_view logicalName) {
  const auto it = mOpen.find(logicalName);
  if (it != mOpen.end()) {
    // Forget the file even when closing it fails, then report the failure.
    RecordFile file = std::move(it->second);
    mOpen.erase(it);
    file.close();
  }
}

void FileRegistry::closeAll() {
  // Close every file even when one fails; report the first failure.
  std::exception_ptr firstFailure;
  while (!mOpen.empty()) {
    const std::string name = mOpen.begin()->first;
    try {
      close(name);
    } catch (...) {
      if (!firstFailure) {
        firstFailure = std::current_exception();
      }
    }
  }
  if (firstFailure) {
    std::rethrow_exception(firstFailure);
  }
}

}  // namespace lum
