#pragma once

#include <filesystem>

namespace lum {

// A folder of this process's own in the temporary folder ($TMPDIR, else
// /tmp), readable by its owner only, removed with everything in it when the
// object goes. Throws FileError when it cannot be made.
class PrivateFolder {
 public:
  PrivateFolder();
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  const std::filesystem::path& path() const { return mPath; }

 private:
  std::filesystem::path mPath;
};

}  // namespace lum
