#include "post/render/pdf_file.h"

#include <span>

namespace lum {

PdfFile::PdfFile(FileOps& ops, std::filesystem::path path, const QString& title)
    : mOps(&ops), mPath(std::move(path)) {
  mBuffer.open(QIODevice::WriteOnly);
  mWriter = std::make_unique<QPdfWriter>(&mBuffer);
  mWriter->setResolution(1200);
  mWriter->setCreator("LumPost");
  mWriter->setTitle(title);
  mDevice = std::make_unique<PagedPageDevice>(*mWriter);
}

PdfFile::~PdfFile() = default;

void PdfFile::save() {
  mDevice->endDocument();
  if (mDevice->sheets() == 0) {
    // A report without pages still makes a readable file of one blank page.
    mDevice->beginPage(1);
    mDevice->endDocument();
  }
  const QByteArray& bytes = mBuffer.data();
  const std::filesystem::path partial = mPath.string() + ".part";
  FileHandle file = mOps->open(partial, OpenMode::WriteTruncate);
  mOps->writeAt(file, 0,
                std::span(reinterpret_cast<const std::byte*>(bytes.constData()),
                          static_cast<std::size_t>(bytes.size())));
  mOps->flush(file);
  mOps->close(file);
  mOps->rename(partial, mPath);
}

}  // namespace lum
