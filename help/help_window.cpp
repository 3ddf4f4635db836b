#include "help/help_window.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include "help/manual_anchors.h"

namespace lum {
namespace {

constexpr const char* kManual = "qrc:/manual/manual.html";

QString anchorOf(const QTextBlock& block) {
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QStringList names = it.fragment().charFormat().anchorNames();
    if (!names.isEmpty()) {
      return names.front();
    }
  }
  return {};
}

}  // namespace

HelpWindow::HelpWindow(HelpProgram program, QWidget* parent)
    : QWidget(parent, Qt::Window),
      mProgram(program),
      mContents(new QTreeWidget(this)),
      mPage(new QTextBrowser(this)),
      mSearch(new QLineEdit(this)),
      mFound(new QLabel(this)) {
  setObjectName("HelpWindow");
  setWindowTitle(program == HelpProgram::LumPost ? "LumPost Help" : "LumUtils Help");
  mContents->setObjectName("Contents");
  mContents->setHeaderHidden(true);
  mPage->setObjectName("Page");
  mPage->setOpenExternalLinks(true);
  mSearch->setObjectName("Search");
  mSearch->setPlaceholderText("Search the manual");
  mSearch->setClearButtonEnabled(true);
  mFound->setObjectName("Found");

  auto* searchLabel = new QLabel("&Search:", this);
  searchLabel->setBuddy(mSearch);
  auto* previous = new QPushButton("&Previous", this);
  previous->setObjectName("Previous");
  auto* next = new QPushButton("&Next", this);
  next->setObjectName("Next");
  auto* searchRow = new QHBoxLayout;
  searchRow->addWidget(searchLabel);
  searchRow->addWidget(mSearch, 1);
  searchRow->addWidget(previous);
  searchRow->addWidget(next);
  searchRow->addWidget(mFound);

  auto* splitter = new QSplitter(this);
  splitter->addWidget(mContents);
  splitter->addWidget(mPage);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({260, 740});

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(searchRow);
  layout->addWidget(splitter, 1);

  mSearch->installEventFilter(this);
  connect(next, &QPushButton::clicked, this, [this] { findNext(false); });
  connect(previous, &QPushButton::clicked, this, [this] { findNext(true); });
  connect(mSearch, &QLineEdit::textChanged, mFound, &QLabel::clear);
  connect(mContents, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    mPage->scrollToAnchor(item->data(0, Qt::UserRole).toString());
  });
  connect(mContents, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    mPage->scrollToAnchor(item->data(0, Qt::UserRole).toString());
  });

  mPage->setSource(QUrl(kManual));
  buildContents();
  resize(1000, 700);
}

void HelpWindow::buildContents() {
  QTreeWidgetItem* chapter = nullptr;
  for (QTextBlock block = mPage->document()->begin(); block.isValid(); block = block.next()) {
    const int level = block.blockFormat().headingLevel();
    const QString anchor = anchorOf(block);
    if (level == 0 || level > 2 || anchor.isEmpty() ||
        anchor == QString::fromUtf8(kContentsAnchor.data(), kContentsAnchor.size())) {
      continue;
    }
    auto* item = level == 1 || chapter == nullptr ? new QTreeWidgetItem(mContents)
                                                  : new QTreeWidgetItem(chapter);
    if (level == 1) {
      chapter = item;
    }
    item->setText(0, block.text());
    item->setData(0, Qt::UserRole, anchor);
  }
  mContents->expandAll();
}

void HelpWindow::showWindowHelp(int window) {
  const std::string_view anchor = helpSection(mProgram, window);
  showSection(QString::fromUtf8(anchor.data(), static_cast<qsizetype>(anchor.size())));
}

void HelpWindow::showSection(const QString& anchor) {
  show();
  raise();
  activateWindow();
  mPage->scrollToAnchor(anchor);
  // The contents follow the page: the entry of the section is the current one.
  for (QTreeWidgetItemIterator it(mContents); *it != nullptr; ++it) {
    if ((*it)->data(0, Qt::UserRole).toString() == anchor) {
      mContents->setCurrentItem(*it);
      break;
    }
  }
  mPage->setFocus();
}

bool HelpWindow::hasSection(const QString& anchor) const {
  for (QTextBlock block = mPage->document()->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() > 0 && anchorOf(block) == anchor) {
      return true;
    }
  }
  return false;
}

QString HelpWindow::currentSection() const {
  // A pixel into the page, past the frame's margin.
  const QTextCursor top = mPage->cursorForPosition(QPoint(4, 4));
  for (QTextBlock block = top.block(); block.isValid(); block = block.previous()) {
    if (block.blockFormat().headingLevel() > 0) {
      return anchorOf(block);
    }
  }
  return {};
}

bool HelpWindow::findNext(bool backwards) {
  const QString words = mSearch->text();
  if (words.isEmpty()) {
    mFound->clear();
    return false;
  }
  const QTextDocument::FindFlags flags =
      backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  bool found = mPage->find(words, flags);
  if (!found) {
    // Round to the other end of the manual.
    QTextCursor cursor = mPage->textCursor();
    cursor.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    mPage->setTextCursor(cursor);
    found = mPage->find(words, flags);
  }
  mFound->setText(found ? QString() : "Not found");
  return found;
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mSearch && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      findNext(key->modifiers().testFlag(Qt::ShiftModifier));
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace lum
