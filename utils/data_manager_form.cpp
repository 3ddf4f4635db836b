#include "utils/data_manager_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "help/help_window.h"
#include "panel/input_panel.h"
#include "panel/input_panel_widget.h"
#include "utils/storage.h"
#include "utils/utils_dispatch.h"
#include "utils/utils_session.h"

namespace lum {

DataManagerForm::DataManagerForm(UtilsSession& session, Storage& storage, UtilsDispatch& dispatch,
                                 QWidget* parent)
    : QWidget(parent),
      mSession(session),
      mStorage(storage),
      mDispatch(dispatch),
      mList(std::make_unique<StoredList>(storage)),
      mShared(std::make_unique<PanelShared>()) {
  setObjectName("LumUtilsForm");
  setWindowTitle(QString::fromStdString(windowCaption(UtilsWindow::Main)));
  mList->reload();
  mPanel = std::make_unique<InputPanel>(StoredList::shape(), *mList, *mShared);
  mPanel->show();

  auto* outer = new QVBoxLayout(this);
  auto* layout = new QHBoxLayout;
  outer->addLayout(layout, 1);
  auto* left = new QVBoxLayout;
  mFolderLabel = new QLabel(this);
  mFolderLabel->setObjectName("Label2");
  left->addWidget(mFolderLabel);
  auto* frame = new QGroupBox("Stored Entities List", this);
  auto* frameLayout = new QVBoxLayout(frame);
  mPanelWidget = new InputPanelWidget(*mPanel, frame);
  // The date of every entry starts at column 22: a fixed-pitch font keeps them in line.
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  for (QLineEdit* box : mPanelWidget->findChildren<QLineEdit*>("InBox")) {
    box->setReadOnly(true);
    box->setFont(fixed);
    box->setMinimumWidth(320);
  }
  frameLayout->addWidget(mPanelWidget);
  left->addWidget(frame);

  auto* searchRow = new QHBoxLayout;
  mSearchText = new QLineEdit(this);
  mSearchText->setObjectName("Text1");
  searchRow->addWidget(mSearchText, 1);
  left->addLayout(searchRow);
  connect(mSearchText, &QLineEdit::returnPressed, this, [this] { search(); });

  auto* drives = new QHBoxLayout;
  mDrive1 = new QComboBox(this);
  mDrive1->setObjectName("Drive1");
  mDrive2 = new QComboBox(this);
  mDrive2->setObjectName("Drive2");
  for (QComboBox* drive : {mDrive1, mDrive2}) {
    drive->addItem("a:");  // the floppy folder is the one drive the programs know
    drives->addWidget(drive);
  }
  left->addLayout(drives);
  layout->addLayout(left, 1);

  auto* buttons = new QVBoxLayout;
  const auto add = [&](const char* name, std::function<void()> action) {
    const auto commands = utilsCommands();
    const auto command = std::find_if(commands.begin(), commands.end(), [&](const auto& c) {
      return std::string_view(c.name) == name;
    });
    buttons->addWidget(addButton(name, command->caption, std::move(action)));
  };
  add("Command4", [this] { mDispatch.open(UtilsWindow::Store); });
  add("Command5", [this] { mDispatch.open(UtilsWindow::Restore); });
  add("Command6", [this] { busy([this] { mStorage.zipToFloppy(); }); });
  add("Command7", [this] { busy([this] { mStorage.unzipFromFloppy(); }); });
  add("Command12", [this] { busy([this] { mStorage.zipToEmail(); }); });
  add("Command13", [this] { busy([this] { mStorage.unzipFromEmail(); }); });
  add("Command3", [this] {
    if (mSession.currentWindow() < UtilsWindow::Mail) {
      mSession.setMailSending(true);
      mDispatch.open(UtilsWindow::Mail);
    }
  });
  add("Command18", [this] {
    if (mSession.currentWindow() < UtilsWindow::Mail) {
      mSession.setMailSending(false);
      mDispatch.open(UtilsWindow::Mail);
    }
  });
  add("Command2", [this] { busy([this] { mStorage.deleteStoredEntity(selectedSlot()); }); });
  add("Command9", [this] { busy([this] { mStorage.recreateNamesList(); }); });
  add("Command14", [this] {
    busy([this] { mStorage.selectCurrentYear(); });
    prepare();
  });
  add("Command15", [this] {
    busy([this] { mStorage.selectPreviousYear(); });
    prepare();
  });
  add("Command17", [this] { busy([this] { mStorage.transCurrentToPrevious(); }); });
  add("Command10", [this] { search(); });
  buttons->addWidget(addButton("CommandHelp", "&Help", [this] { help(); }));
  add("Command1", [this] { close(); });
  buttons->addStretch();
  layout->addLayout(buttons);

  mStatus = new QStatusBar(this);
  mStatus->setObjectName("StatusBar");
  mStatus->setSizeGripEnabled(false);
  outer->addWidget(mStatus);
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
          [this] { help(); });
}

void DataManagerForm::help() {
  if (!mHelp) {
    mHelp = std::make_unique<HelpWindow>(HelpProgram::LumUtils);
  }
  mHelp->showWindowHelp(static_cast<int>(mSession.currentWindow()));
}

void DataManagerForm::showStatus(const std::string& text) {
  mStatus->showMessage(QString::fromStdString(text));
}

// The panel widget goes before the panel it shows.
DataManagerForm::~DataManagerForm() {
  delete mPanelWidget;
}

QPushButton* DataManagerForm::addButton(const char* name, const char* caption,
                                        std::function<void()> action) {
  auto* button = new QPushButton(QString::fromUtf8(caption), this);
  button->setObjectName(name);
  connect(button, &QPushButton::clicked, this, [action = std::move(action)] { action(); });
  return button;
}

void DataManagerForm::prepare() {
  for (const auto& command : utilsCommands()) {
    if (auto* button = findChild<QPushButton*>(command.name)) {
      button->setEnabled(commandEnabled(mSession, command));
    }
  }
  mFolderLabel->setText(QString::fromStdString("Store Folder: " + mSession.folders().storeFolder));
  redrawList(mStorage.currentSlot());
}

void DataManagerForm::redrawList(int topSlot) {
  mList->reload();
  mPanel->redraw();
  if (topSlot > 0 && topSlot <= mList->lineCount()) {
    mPanel->scrollBarChanged(topSlot - 1);
  }
  mPanelWidget->refresh();
}

int DataManagerForm::selectedSlot() const {
  const int slot = mPanel->currentLine() + 1;
  return slot <= mList->lineCount() ? slot : 0;
}

void DataManagerForm::busy(const std::function<void()>& action) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    action();
  } catch (const std::exception& error) {
    QApplication::restoreOverrideCursor();
    mSession.prompter().message(error.what(), Icon::Critical);
    redrawList();
    return;
  }
  QApplication::restoreOverrideCursor();
  redrawList();
}

void DataManagerForm::search() {
  if (const auto slot = mStorage.search(mSearchText->text().toStdString())) {
    redrawList(*slot);
  }
}

void DataManagerForm::closeEvent(QCloseEvent* event) {
  if (!mClosing) {
    mClosing = true;
    mDispatch.close(UtilsWindow::Main);
  }
  event->accept();
}

}  // namespace lum
