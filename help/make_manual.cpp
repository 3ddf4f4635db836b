// Build-time tool: turns the manual's Markdown chapters into one HTML page
// for the help window, with a contents list at the top and an anchor on
// every heading named as the heading's text is on the project's web pages
// ("The grid's keys" is #the-grids-keys), so links and F1 topics keep
// working while the wording around them changes.
//
//   make_manual OUTPUT.html CHAPTER.md...

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "help/manual_anchors.h"

namespace {

constexpr int kPictureWidth = 640;

struct Heading {
  int level;
  QString text;
  QString anchor;
};

std::optional<QString> readAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "make_manual: cannot read %s\n", qPrintable(path));
    return std::nullopt;
  }
  return QString::fromUtf8(file.readAll());
}

std::vector<Heading> headingsOf(QTextDocument& document) {
  std::vector<Heading> headings;
  lum::AnchorNames names;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const int level = block.blockFormat().headingLevel();
    if (level > 0) {
      headings.push_back(
          {level, block.text(), QString::fromStdString(names.add(block.text().toStdString()))});
    }
  }
  return headings;
}

// Chapters link to each other as files ("grid.md#the-grids-keys") so the
// Markdown reads well on its own; in the one page only the anchor is left.
// Pictures are looked for beside the page; CHAPTERS is the folder the
// Markdown names them from.
void relink(QTextDocument& document, const QString& chapters) {
  static const QRegularExpression chapterLink(R"(^[\w.-]+\.md(#.*)$)");
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      QTextCharFormat format = fragment.charFormat();
      bool changed = false;
      if (format.isAnchor()) {
        const auto match = chapterLink.match(format.anchorHref());
        if (match.hasMatch()) {
          format.setAnchorHref(match.captured(1));
          changed = true;
        }
      }
      if (format.isImageFormat()) {
        QTextImageFormat image = format.toImageFormat();
        // A wide screenshot is shown narrower, so that the text beside it
        // needs no sideways scrolling.
        const QSize size = QImage(QDir(chapters).filePath(image.name())).size();
        if (size.width() > kPictureWidth) {
          image.setWidth(kPictureWidth);
          image.setHeight(size.height() * kPictureWidth / size.width());
        }
        image.setName(QFileInfo(image.name()).fileName());
        format = image;
        changed = true;
      }
      if (changed) {
        QTextCursor cursor(&document);
        cursor.setPosition(fragment.position());
        cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
      }
    }
  }
}

void nameHeadings(QTextDocument& document) {
  lum::AnchorNames names;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() == 0 || block.length() <= 1) {
      continue;
    }
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setAnchor(true);
    format.setAnchorNames({QString::fromStdString(names.add(block.text().toStdString()))});
    cursor.mergeCharFormat(format);
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Fonts need a platform; none is shown. Without a runtime folder of the
  // session, Qt gets a private one rather than say it made its own.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  std::string runtime;
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    runtime = (std::filesystem::temp_directory_path() / "make_manual-XXXXXX").string();
    if (mkdtemp(runtime.data()) != nullptr) {
      qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
    }
  }
  const auto removeRuntime = qScopeGuard([&runtime] {
    if (!runtime.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(runtime, ignored);
    }
  });
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_manual OUTPUT.html CHAPTER.md...\n");
    return 2;
  }
  QString markdown;
  for (int i = 2; i < argc; ++i) {
    const auto chapter = readAll(QString::fromLocal8Bit(argv[i]));
    if (!chapter) {
      return 1;
    }
    markdown += *chapter + "\n\n";
  }

  QTextDocument chapters;
  chapters.setMarkdown(markdown);
  QString contents = "# " +
                     QString::fromUtf8(lum::kContentsHeading.data(),
                                       static_cast<qsizetype>(lum::kContentsHeading.size())) +
                     "\n\n";
  for (const Heading& heading : headingsOf(chapters)) {
    if (heading.level <= 2) {
      contents += QString(heading.level == 1 ? "" : "    ") + "- [" + heading.text + "](#" +
                  heading.anchor + ")\n";
    }
  }

  QTextDocument manual;
  manual.setMetaInformation(QTextDocument::DocumentTitle, "LumPost and LumUtils manual");
  manual.setMarkdown(contents + "\n\n" + markdown);
  relink(manual, QFileInfo(QString::fromLocal8Bit(argv[2])).absolutePath());
  nameHeadings(manual);

  // The page takes the help window's font rather than this tool's.
  QString html = manual.toHtml();
  html.replace(QRegularExpression(R"(<body style="[^"]*">)"), "<body>");
  QFile out(QString::fromLocal8Bit(argv[1]));
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(html.toUtf8()) < 0) {
    std::fprintf(stderr, "make_manual: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
