#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "post/render/font_list.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace lum {

// "Select Font": the fonts the screen and the printer share (built once
// into FontList.ini, with a progress bar), a sample of the one selected,
// OK to make it the report font and Cancel to keep the previous choice.
class FontDialog final : public QWidget {
  Q_OBJECT

 public:
  // applyFont runs after OK has stored the choice (the report settings take it).
  FontDialog(FontList& list, std::function<void(const std::string&)> applyFont,
             QWidget* parent = nullptr);

  // Builds the list when it has never been built, then fills the window.
  // The font families default to the system's, on screen and printer alike.
  void prepare(std::vector<std::string> screenFonts = {},
               std::vector<std::string> printerFonts = {});

  // What closes the window, instead of closing the widget itself.
  void setDone(std::function<void()> done) { mDone = std::move(done); }

  // The choice stood before and after a Cancel.
  const std::string& chosen() const { return mChosen; }

 private:
  void showSample();
  void accept();
  void cancel();
  void finish();

  FontList* mList;
  std::function<void(const std::string&)> mApplyFont;
  std::function<void()> mDone;
  std::string mChosen;
  QListWidget* mFonts;
  QLabel* mSample;
  QLabel* mWait;
  QProgressBar* mProgress;
  QPushButton* mOk;
  QPushButton* mCancel;
};

}  // namespace lum
