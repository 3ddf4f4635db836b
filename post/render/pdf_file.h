#pragma once

#include <QBuffer>
#include <QPdfWriter>
#include <filesystem>
#include <memory>

#include "platform/file_ops.h"
#include "post/render/paged_page_device.h"

namespace lum {

// A report written as a PDF file: the pages are drawn into memory and the
// file is written through FileOps when the document ends, so a failed
// write leaves no half file behind the name.
class PdfFile {
 public:
  PdfFile(FileOps& ops, std::filesystem::path path, const QString& title = {});
  ~PdfFile();

  PageDevice& device() { return *mDevice; }
  // Ends the document and writes the file; throws FileError.
  void save();

 private:
  FileOps* mOps;
  std::filesystem::path mPath;
  QBuffer mBuffer;
  std::unique_ptr<QPdfWriter> mWriter;
  std::unique_ptr<PagedPageDevice> mDevice;
};

}  // namespace lum
