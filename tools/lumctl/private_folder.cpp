#include "tools/lumctl/private_folder.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/errors.h"

namespace lum {

PrivateFolder::PrivateFolder() {
  const char* temporary = std::getenv("TMPDIR");
  const std::filesystem::path parent =
      temporary != nullptr && *temporary != '\0' ? temporary : "/tmp";
  std::string pattern = (parent / "lumctl-XXXXXX").string();
  // mkdtemp makes the folder with mode 0700.
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw FileError("create folder", pattern, errno);
  }
  mPath = pattern;
}

PrivateFolder::~PrivateFolder() {
  std::error_code ignored;  // a folder left behind in the temporary folder loses nothing
  std::filesystem::remove_all(mPath, ignored);
}

}  // namespace lum
