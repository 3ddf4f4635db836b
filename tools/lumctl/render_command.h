#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_ops.h"
#include "platform/prompter.h"
#include "platform/record_file.h"
#include "tools/lumctl/lumctl.h"

namespace lum {

struct RenderOptions {
  std::string commands;  // default: the work area's DosyaYaz.dat
  std::string texts;     // default: the work area's Kelamlar.dat
  std::string pages;     // "A-B", "A", or empty for every page
  std::string format;    // "pdf", "text" or "plain"
  std::string out;       // the file written; "-" for the standard output
};

// The stored pages of a report and what they are replayed with.
struct StoredPages {
  std::filesystem::path commands;  // the page command file
  std::filesystem::path texts;     // the page text file
  RecordFile* settings = nullptr;  // the operator's print settings, when there are any
  std::function<std::filesystem::path(std::string_view)> pictures;  // where a picture is
};

// Replays pages of a stored report ("A-B", "A", or empty for every page) on
// the PDF device, drawing the file pdfFile, on the text device (format
// "text") or the plain page device ("plain"). Returns the PDF's, the
// listing's or the pages' bytes; nothing, told on err, for pages the
// report does not have.
std::optional<std::string> replayPages(FileOps& ops, const StoredPages& stored,
                                       const std::string& pages, const std::string& format,
                                       const std::filesystem::path& pdfFile, Prompter& prompter,
                                       std::ostream& err);

// Replays the stored pages of a report on the PDF, text or plain device, as
// the viewer prints them. Returns the exit status.
int renderPages(const GlobalOptions& global, const RenderOptions& options, std::ostream& out,
                std::ostream& err);

}  // namespace lum
