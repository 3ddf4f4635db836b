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
#include "post/login/login_records.h"
#include "post/render/painter_page_device.h"
#include "post/render/pdf_file.h"
#include "post/render/plain_page_device.h"
#include "post/render/text_page_device.h"
#include "post/render/yazan.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/headless.h"
#include "tools/lumctl/offscreen_application.h"
#include "tools/lumctl/settled_reading.h"

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

std::string textOf(const std::vector<std::byte>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

std::optional<std::string> replayPages(FileOps& ops, const StoredPages& stored,
                                       const std::string& pages, const std::string& format,
                                       const std::filesystem::path& pdfFile, Prompter& prompter,
                                       std::ostream& err) {
  OffscreenApplication app;
  RecordFile commands(ops, stored.commands, PageCommandRecord::kSize, RecordFile::Access::ReadOnly);
  RecordFile texts(ops, stored.texts, PageTextRecord::kSize, RecordFile::Access::ReadOnly);
  Yazan yazan(ops, prompter);
  yazan.attachFiles(&commands, &texts);
  yazan.setPictureResolver(stored.pictures);
  yazan.attachSettings(stored.settings);

  const int pageCount = yazan.storedPageCount();
  const auto range = parseRange(pages, pageCount);
  if (!range) {
    fmt::print(err, "lumctl: the report has {} pages; --pages {} is not among them\n", pageCount,
               pages);
    return std::nullopt;
  }

  yazan.setPageCount(pageCount);
  if (format == "text") {
    std::ostringstream listing;
    QtTextMetrics metrics;
    TextPageDevice device(listing, metrics);
    yazan.ReplayPages(device, range->first, range->last);
    return listing.str();
  }
  if (format == "plain") {
    std::ostringstream page;
    QtTextMetrics metrics;
    PlainPageDevice device(page, metrics);
    yazan.ReplayPages(device, range->first, range->last);
    return page.str();
  }
  PdfFile pdf(ops, pdfFile, QString::fromStdString(stored.commands.filename().string()));
  yazan.ReplayPages(pdf.device(), range->first, range->last);
  pdf.save();
  return textOf(ops.readFile(pdfFile));
}

int renderPages(const GlobalOptions& global, const RenderOptions& options, std::ostream& out,
                std::ostream& err) {
  FileOps ops;
  const DosPath paths(ops, global.root, DosPath::floppyDirectoryFor(global.root, nullptr));
  const std::filesystem::path area = workAreaFolder(global);
  const auto locate = [&](const std::string& given, std::string_view standard) {
    if (given.empty()) {
      return paths.resolve(
          fmt::format(".\\Ent-{}\\Op-{}\\{}", global.groupNumber, global.operatorNumber, standard));
    }
    return ops.exists(given) ? std::filesystem::path(given) : paths.resolve(given);
  };
  const std::filesystem::path commandsPath = locate(options.commands, "DosyaYaz.dat");
  const std::filesystem::path textsPath = locate(options.texts, "Kelamlar.dat");
  const std::filesystem::path settingsPath =
      paths.resolve(fmt::format("..\\RpP-{}.Dat", global.operatorNumber));
  if ((options.commands.empty() || options.texts.empty()) && !ops.isDirectory(area)) {
    fmt::print(err, "lumctl: {}, to read {} from\n", noWorkAreaText(global),
               options.commands.empty() ? "DosyaYaz.dat" : "Kelamlar.dat");
    return kExitRefused;
  }

  return readSettled(ops, area, options.out, out, err, [&](Reading& reading) {
    StoredPages stored;
    stored.commands = reading.files.readPath(commandsPath);
    stored.texts = reading.files.readPath(textsPath);
    // Pictures beside the page files, else where the program finds them.
    stored.pictures = [&](std::string_view name) {
      const std::filesystem::path beside = commandsPath.parent_path() / std::string(name);
      return ops.exists(beside) ? beside : paths.resolve(name);
    };
    // The operator's print settings, as the viewer prints with them; a
    // private copy, since setting up the output may fill in a font.
    std::optional<RecordFile> settings;
    if (ops.exists(reading.files.readPath(settingsPath))) {
      settings.emplace(ops, reading.files.privateFile("RepPar", settingsPath),
                       ReportPrintSettings::kSize);
      stored.settings = &*settings;
    }
    StreamPrompter prompter(reading.err);
    const auto bytes = replayPages(ops, stored, options.pages, options.format,
                                   reading.scratch / "pages.pdf", prompter, reading.err);
    if (!bytes) {
      return int{kExitRefused};
    }
    reading.output = *bytes;
    return int{kExitSuccess};
  });
}

void addRenderCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<RenderOptions>();
  CLI::App* render = app.add_subcommand(
      "render",
      "Replay the stored pages of the last report (the work area's DosyaYaz.dat and "
      "Kelamlar.dat) as a PDF file; as a text listing (text): one line per drawn item, "
      "\"page y x L|R text\" in millimetres, rules, lines and boxes as RULE, LINE and BOX; or "
      "as readable pages (plain): the texts where they stand on a grid of characters, rules as "
      "lines of -, each page after a line \"=== page N ===\"");
  render->add_option("--commands", options->commands, "The page command file");
  render->add_option("--texts", options->texts, "The page text file");
  render->add_option("--pages", options->pages, "The pages, A-B or A (default: all)");
  render->add_option("--format", options->format, "pdf, text or plain")
      ->required()
      ->check(CLI::IsMember({"pdf", "text", "plain"}));
  render->add_option("--out", options->out, "The file written; - for the standard output")
      ->required();
  render->callback([&context, options] {
    const bool ownFiles = !options->commands.empty() && !options->texts.empty();
    // Without its own page files it says itself that the work area is missing.
    context.status = !ownFiles || context.workAreaNamed()
                         ? renderPages(context.options, *options, context.out, context.err)
                         : kExitRefused;
  });
}

}  // namespace lum
