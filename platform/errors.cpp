#include "platform/errors.h"

#include <cstring>
#include <utility>

namespace lum {
namespace {

std::string describe(const std::string& operation, const std::filesystem::path& path,
                     const std::string& reason) {
  return "Cannot " + operation + " " + path.string() + ": " + reason;
}

}  // namespace

FileError::FileError(std::string operation, std::filesystem::path path, int errorNumber)
    : std::runtime_error(describe(operation, path, std::strerror(errorNumber))),
      mOperation(std::move(operation)),
      mPath(std::move(path)),
      mErrorNumber(errorNumber) {}

FileError::FileError(std::string operation, std::filesystem::path path, const std::string& reason)
    : std::runtime_error(describe(operation, path, reason)),
      mOperation(std::move(operation)),
      mPath(std::move(path)) {}

}  // namespace lum
