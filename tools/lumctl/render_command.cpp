#include "tools/lumctl/render_command.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <QGuiApplication>
#include <optional>
#include <ostream>
#include <regex>
#include <sstream>

#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_ops.h"
#include "platform/record_file.h"
#include "post/login/file_registry.h"
#include "post/render/painter_page_device.h"
#include "post/render/pdf_file.h"
#include "post/render/text_page_device.h"
#include "post/render/yazan.h"
#include "tools/lumctl/headless.h"
#include "tools/lumctl/offscreen_application.h"

namespace lum {
namespace {

struct PageRange {
  int first = 1;
  int last = 0;
};

std::optional<PageRange> parseRange(const std::string& text, int pageCount) {
  if (text.empty()) {
    return PageRange{1, pageCount};
  }
  std::smatch match;
  static const std::regex pattern("([0-9]{1,4})(?:-([0-9]{1,4}))?");
  if (!std::regex_match(text, match, pattern)) {
    return std::nullopt;
  }
  const int first = std::stoi(match[1].str());
  const int last = match[2].matched ? std::stoi(match[2].str()) : first;
  if (first < 1 || last < first || last > pageCount) {
    return std::nullopt;
  }
  return PageRange{first, last};
}

std::filesystem::path workAreaFile(const DosPath& paths, const GlobalOptions& global,
                                   std::string_view name) {
  return paths.resolve(
      fmt::format(".\\Ent-{}\\Op-{}\\{}", global.groupNumber, global.operatorNumber, name));
}

}  // namespace

int renderPages(const GlobalOptions& global, const RenderOptions& options, std::ostream& out,
                std::ostream& err) {
  FileOps ops;
  const DosPath paths(ops, global.root, DosPath::floppyDirectoryFor(global.root, nullptr));
  const auto locate = [&](const std::string& given, std::string_view standard) {
    if (given.empty()) {
      return workAreaFile(paths, global, standard);
    }
    return ops.exists(given) ? std::filesystem::path(given) : paths.resolve(given);
  };
  const std::filesystem::path commandsPath = locate(options.commands, "DosyaYaz.dat");
  const std::filesystem::path textsPath = locate(options.texts, "Kelamlar.dat");
  if (options.out == "-" && options.format != "text") {
    fmt::print(err, "lumctl: a PDF goes to a file; name it with --out\n");
    return kExitUsage;
  }

  try {
    OffscreenApplication app;
    RecordFile commands(ops, commandsPath, PageCommandRecord::kSize, RecordFile::Access::ReadOnly);
    RecordFile texts(ops, textsPath, PageTextRecord::kSize, RecordFile::Access::ReadOnly);
    StreamPrompter prompter(err);
    Yazan yazan(ops, prompter);
    yazan.attachFiles(&commands, &texts);
    // Pictures beside the page files, else where the program finds them.
    yazan.setPictureResolver([&](std::string_view name) {
      const std::filesystem::path beside = commandsPath.parent_path() / std::string(name);
      return ops.exists(beside) ? beside : paths.resolve(name);
    });
    // The operator's print settings, as the viewer prints with them.
    const std::filesystem::path settingsPath =
        paths.resolve(fmt::format("..\\RpP-{}.Dat", global.operatorNumber));
    std::optional<RecordFile> settings;
    if (ops.exists(settingsPath)) {
      settings.emplace(ops, settingsPath, ReportPrintSettings::kSize);
      yazan.attachSettings(&*settings);
    }

    const int pageCount = yazan.storedPageCount();
    const auto range = parseRange(options.pages, pageCount);
    if (!range) {
      fmt::print(err, "lumctl: the report has {} pages; --pages {} is not among them\n", pageCount,
                 options.pages);
      return kExitRefused;
    }

    std::ostringstream listing;
    QtTextMetrics metrics;
    std::optional<TextPageDevice> textDevice;
    std::optional<PdfFile> pdf;
    if (options.format == "text") {
      textDevice.emplace(listing, metrics);
      yazan.setPrinter(&*textDevice);
    } else {
      pdf.emplace(ops, options.out, QString::fromStdString(commandsPath.filename().string()));
      yazan.setPrinter(&pdf->device());
    }
    yazan.setNextDevice(kPrinterDevice);
    yazan.BeginOutput();
    yazan.setPageCount(pageCount);
    for (int page = range->first; page <= range->last; ++page) {
      yazan.setPageNumber(page);
      yazan.LoadPage(0);
      yazan.SBit();
    }
    if (pdf) {
      pdf->save();
    } else if (options.out == "-") {
      out << listing.str();
    } else {
      const std::string text = listing.str();
      ops.writeFile(options.out,
                    std::span(reinterpret_cast<const std::byte*>(text.data()), text.size()));
    }
  } catch (const std::exception& error) {
    fmt::print(err, "lumctl: {}\n", error.what());
    return kExitRefused;
  }
  return kExitSuccess;
}

}  // namespace lum
