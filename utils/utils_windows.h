#pragma once

#include <QWidget>
#include <functional>
#include <map>

#include "utils/utils_dispatch.h"

class QLineEdit;
class QLabel;
class QRadioButton;

namespace lum {

class DataManagerForm;
class MailController;

// A window of the dispatcher other than the main window: closing it from
// its title bar or with Esc goes through the dispatcher.
class UtilsChildWindow : public QWidget {
  Q_OBJECT

 public:
  UtilsChildWindow(UtilsWindow code, UtilsDispatch& dispatch, QWidget* parent = nullptr);

  UtilsWindow code() const { return mCode; }
  // Fills the window as it is shown.
  virtual void prepare() {}
  // Hides the window without asking the dispatcher again.
  void unload();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeThroughDispatcher() { mDispatch.close(mCode); }

  UtilsDispatch& mDispatch;

 private:
  UtilsWindow mCode;
  bool mUnloading = false;
};

// "Store Data Away" (code 1).
class StoreWindow final : public UtilsChildWindow {
  Q_OBJECT

 public:
  StoreWindow(UtilsDispatch& dispatch, UtilsSession& session, Storage& storage,
              DataManagerForm& main);

 private:
  void storeAway();

  UtilsSession& mSession;
  Storage& mStorage;
  DataManagerForm& mMain;
  QRadioButton* mSelectedSlot;
  QRadioButton* mFloppy;
};

// "Bring Data Back" (code 2).
class RestoreWindow final : public UtilsChildWindow {
  Q_OBJECT

 public:
  RestoreWindow(UtilsDispatch& dispatch, UtilsSession& session, Storage& storage,
                DataManagerForm& main);

 private:
  void bringBack();

  UtilsSession& mSession;
  Storage& mStorage;
  DataManagerForm& mMain;
  QRadioButton* mFloppy;
  QRadioButton* mHardDisk;
};

// The folder window "StrDir" (codes 3, 4 and 5): the folder typed into
// "Text1" or chosen with the folder chooser.
class FolderWindow final : public UtilsChildWindow {
  Q_OBJECT

 public:
  FolderWindow(UtilsWindow code, UtilsDispatch& dispatch, UtilsSession& session, Storage& storage);
  void prepare() override;

 private:
  void choose();
  void accept();

  UtilsSession& mSession;
  Storage& mStorage;
  QLabel* mLabel;
  QLineEdit* mFolder;
};

// The program's windows by code, shown and hidden for the dispatcher.
class UtilsWindows final : public UtilsWindowHost {
 public:
  UtilsWindows(UtilsSession& session, Storage& storage, UtilsDispatch& dispatch);
  ~UtilsWindows() override;

  DataManagerForm& main() { return *mMain; }
  // Adds a window made elsewhere (the mail window).
  void add(UtilsChildWindow* window);
  QWidget* window(UtilsWindow code) const;

  void showWindow(UtilsWindow window, std::optional<std::pair<float, float>> position) override;
  std::pair<float, float> hideWindow(UtilsWindow window) override;
  void endProgram() override;

 private:
  DataManagerForm* mMain;
  std::map<UtilsWindow, UtilsChildWindow*> mChildren;
};

}  // namespace lum
