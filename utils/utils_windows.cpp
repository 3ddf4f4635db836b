#include "utils/utils_windows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "utils/data_manager_form.h"

namespace lum {
namespace {

constexpr int kTwipsPerPixel = 15;

QRadioButton* option(QWidget* parent, QLayout* layout, const char* name, const char* caption) {
  auto* button = new QRadioButton(QString::fromUtf8(caption), parent);
  button->setObjectName(name);
  layout->addWidget(button);
  return button;
}

QPushButton* button(QWidget* parent, QLayout* layout, const char* name, const char* caption,
                    std::function<void()> action) {
  auto* pushButton = new QPushButton(QString::fromUtf8(caption), parent);
  pushButton->setObjectName(name);
  layout->addWidget(pushButton);
  QObject::connect(pushButton, &QPushButton::clicked, parent,
                   [action = std::move(action)] { action(); });
  return pushButton;
}

// Runs a storage command with the hourglass; a failure of the disk is told.
void busy(Prompter& prompter, const std::function<void()>& action) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    action();
  } catch (const std::exception& error) {
    QApplication::restoreOverrideCursor();
    prompter.message(error.what(), Icon::Critical);
    return;
  }
  QApplication::restoreOverrideCursor();
}

}  // namespace

UtilsChildWindow::UtilsChildWindow(UtilsWindow code, UtilsDispatch& dispatch, QWidget* parent)
    : QWidget(parent, Qt::Window), mDispatch(dispatch), mCode(code) {
  setWindowTitle(QString::fromStdString(windowCaption(code)));
  const auto [width, height] = windowSizeTwips(code);
  resize(width / kTwipsPerPixel, height / kTwipsPerPixel);
}

void UtilsChildWindow::unload() {
  mUnloading = true;
  hide();
  mUnloading = false;
}

void UtilsChildWindow::closeEvent(QCloseEvent* event) {
  if (!mUnloading && isVisible()) {
    event->ignore();
    closeThroughDispatcher();
    return;
  }
  event->accept();
}

void UtilsChildWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    closeThroughDispatcher();
    return;
  }
  QWidget::keyPressEvent(event);
}

StoreWindow::StoreWindow(UtilsDispatch& dispatch, UtilsSession& session, Storage& storage,
                         DataManagerForm& main)
    : UtilsChildWindow(UtilsWindow::Store, dispatch),
      mSession(session),
      mStorage(storage),
      mMain(main) {
  setObjectName("Store");
  auto* layout = new QVBoxLayout(this);
  auto* location = new QGroupBox("Storage Location", this);
  auto* locationLayout = new QVBoxLayout(location);
  mSelectedSlot = option(location, locationLayout, "Option1",
                         "Override the Selected Location in Entities List");
  option(location, locationLayout, "Option2", "Into Next Available Location")->setChecked(true);
  layout->addWidget(location);
  auto* target = new QGroupBox(this);
  auto* targetLayout = new QVBoxLayout(target);
  mFloppy = option(target, targetLayout, "Option3", "Floppy Disk Drive");
  option(target, targetLayout, "Option4", "Default Hard Disk Drive")->setChecked(true);
  layout->addWidget(target);
  auto* buttons = new QHBoxLayout;
  button(this, buttons, "Command1", "&Continue", [this] { storeAway(); })->setDefault(true);
  button(this, buttons, "Command2", "Cancel", [this] { closeThroughDispatcher(); });
  layout->addLayout(buttons);
}

void StoreWindow::storeAway() {
  const auto target = mFloppy->isChecked() ? Storage::Target::Floppy : Storage::Target::HardDisk;
  std::string done;
  busy(mSession.prompter(), [&] {
    const auto slot = mStorage.storeAway(
        mSelectedSlot->isChecked() ? Storage::Location::SelectedSlot : Storage::Location::NextSlot,
        mMain.selectedSlot(), target);
    if (slot) {
      done = mStorage.storedAwayText(*slot, target);
    }
  });
  if (!done.empty()) {
    mMain.showStatus(done);
    closeThroughDispatcher();
  }
}

RestoreWindow::RestoreWindow(UtilsDispatch& dispatch, UtilsSession& session, Storage& storage,
                             DataManagerForm& main)
    : UtilsChildWindow(UtilsWindow::Restore, dispatch),
      mSession(session),
      mStorage(storage),
      mMain(main) {
  setObjectName("Restore");
  auto* layout = new QVBoxLayout(this);
  auto* warning = new QLabel(
      "Data in the destination drive will be overwritten and lost for ever.  Press Cancel to "
      "avoid.",
      this);
  warning->setObjectName("Label1");
  warning->setWordWrap(true);
  layout->addWidget(warning);
  auto* target = new QGroupBox(this);
  auto* targetLayout = new QVBoxLayout(target);
  mFloppy = option(target, targetLayout, "Option1", "Floppy Disk Drive a:");
  mHardDisk = option(target, targetLayout, "Option2", "Default Hard Disk Drive");
  mHardDisk->setChecked(true);
  option(target, targetLayout, "Option3", "Copy data as a ZIP file on Floppy Disk");
  layout->addWidget(target);
  auto* buttons = new QHBoxLayout;
  button(this, buttons, "Command1", "&Continue", [this] { bringBack(); })->setDefault(true);
  button(this, buttons, "Command2", "Cancel", [this] { closeThroughDispatcher(); });
  layout->addLayout(buttons);
}

void RestoreWindow::bringBack() {
  const int slot = mMain.selectedSlot();
  const auto where = mFloppy->isChecked()     ? Storage::Restore::Floppy
                     : mHardDisk->isChecked() ? Storage::Restore::HardDisk
                                              : Storage::Restore::ZipOnFloppy;
  busy(mSession.prompter(), [&] {
    if (mStorage.bringBack(slot, where)) {
      mMain.showStatus(mStorage.broughtBackText(slot, where));
    }
  });
  closeThroughDispatcher();
}

FolderWindow::FolderWindow(UtilsWindow code, UtilsDispatch& dispatch, UtilsSession& session,
                           Storage& storage)
    : UtilsChildWindow(code, dispatch), mSession(session), mStorage(storage) {
  setObjectName("StrDir");
  auto* layout = new QVBoxLayout(this);
  mLabel = new QLabel(QString::fromStdString(folderLabel(code)), this);
  mLabel->setObjectName("Label1");
  layout->addWidget(mLabel);
  auto* row = new QHBoxLayout;
  auto* drive = new QComboBox(this);
  drive->setObjectName("Drive1");
  drive->addItem("a:");
  connect(drive, &QComboBox::activated, this, [this] { mFolder->setText("a:\\"); });
  row->addWidget(drive);
  mFolder = new QLineEdit(this);
  mFolder->setObjectName("Text1");
  mFolder->setToolTip("Store Directory");
  row->addWidget(mFolder, 1);
  button(this, row, "Dir1", "&Folders...", [this] { choose(); });
  layout->addLayout(row);
  auto* buttons = new QHBoxLayout;
  button(this, buttons, "Command1", "OK", [this] { accept(); })->setDefault(true);
  button(this, buttons, "Command2", "Cancel", [this] { closeThroughDispatcher(); });
  layout->addLayout(buttons);
}

void FolderWindow::prepare() {
  const auto& folders = mSession.folders();
  const std::string folder = code() == UtilsWindow::StoreFolder   ? folders.currentYearFolder
                             : code() == UtilsWindow::EmailFolder ? folders.emailFolder
                                                                  : folders.previousYearFolder;
  mFolder->setText(QString::fromStdString(folder));
}

void FolderWindow::choose() {
  QString start;
  try {
    start = QString::fromStdString(mSession.resolve(mFolder->text().toStdString()).string());
  } catch (const std::exception&) {
    start.clear();
  }
  const QString chosen = QFileDialog::getExistingDirectory(this, mLabel->text(), start);
  if (chosen.isEmpty()) {
    return;
  }
  // The folder is kept as the programs name folders, with "\".
  QString name = chosen;
  name.replace('/', '\\');
  mFolder->setText(name);
}

void FolderWindow::accept() {
  bool set = false;
  busy(mSession.prompter(),
       [&] { set = mStorage.setFolder(code(), mFolder->text().toStdString()); });
  if (set) {
    closeThroughDispatcher();
  }
}

UtilsWindows::UtilsWindows(UtilsSession& session, Storage& storage, UtilsDispatch& dispatch)
    : mMain(new DataManagerForm(session, storage, dispatch)) {
  add(new StoreWindow(dispatch, session, storage, *mMain));
  add(new RestoreWindow(dispatch, session, storage, *mMain));
  for (const auto code :
       {UtilsWindow::StoreFolder, UtilsWindow::EmailFolder, UtilsWindow::PreviousFolder}) {
    add(new FolderWindow(code, dispatch, session, storage));
  }
}

void UtilsWindows::add(UtilsChildWindow* window) {
  mChildren[window->code()] = window;
  // F1 there opens the manual at that window's section.
  QObject::connect(new QShortcut(QKeySequence(Qt::Key_F1), window), &QShortcut::activated, mMain,
                   [this] { mMain->help(); });
}

UtilsWindows::~UtilsWindows() {
  for (auto& [code, window] : mChildren) {
    delete window;
  }
  delete mMain;
}

QWidget* UtilsWindows::window(UtilsWindow code) const {
  if (code == UtilsWindow::Main) {
    return mMain;
  }
  const auto found = mChildren.find(code);
  return found == mChildren.end() ? nullptr : found->second;
}

void UtilsWindows::showWindow(UtilsWindow code, std::optional<std::pair<float, float>> position) {
  QWidget* shown = window(code);
  if (shown == nullptr) {
    return;
  }
  if (code == UtilsWindow::Main) {
    mMain->setEnabled(true);
    mMain->prepare();
  } else {
    mMain->setEnabled(false);
    static_cast<UtilsChildWindow*>(shown)->prepare();
  }
  if (position) {
    shown->move(static_cast<int>(position->first) / kTwipsPerPixel,
                static_cast<int>(position->second) / kTwipsPerPixel);
  }
  shown->show();
  shown->raise();
  shown->activateWindow();
}

std::pair<float, float> UtilsWindows::hideWindow(UtilsWindow code) {
  QWidget* hidden = window(code);
  if (hidden == nullptr) {
    return {0, 0};
  }
  const QPoint place = hidden->pos();
  if (code != UtilsWindow::Main) {
    static_cast<UtilsChildWindow*>(hidden)->unload();
  }
  return {static_cast<float>(place.x() * kTwipsPerPixel),
          static_cast<float>(place.y() * kTwipsPerPixel)};
}

void UtilsWindows::endProgram() {
  QApplication::quit();
}

}  // namespace lum
