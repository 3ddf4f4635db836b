#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "platform/file_ops.h"
#include "platform/prompter.h"
#include "post/render/report_viewer.h"
#include "post/render/screen_page_device.h"

class QButtonGroup;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;

namespace lum {

class RulerWindow;

// The page picture: shows the screen device's page.
class PagePicture final : public QWidget {
  Q_OBJECT

 public:
  explicit PagePicture(QWidget* parent = nullptr);
  void setImage(const QImage& image);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage mImage;
};

// The report viewer "Report Display": one page at a time in a scrolling
// frame, the buttons Command1 to Command8 (ruler, first, last, previous,
// next, re-run, archive, print), Command9 to save the report as PDF (only
// the document on view, under its name, when the report is made of
// documents such as invoices and statements), Command10 the details of a
// report that has them (the GST report's trail), and
// the page slider HScroll2 with "Page N of M" beside it, and the zoom:
// fit width (Ctrl+2), fit page (Ctrl+0) and 100 % (Ctrl+1), kept while the
// pages turn. Page Up and Page Down turn pages, Home and End go to the
// first and last, the arrows scroll.
class RepDisp final : public QWidget {
  Q_OBJECT

 public:
  RepDisp(Yazan& yazan, ScreenPageDevice& screen, FileOps& ops, Prompter& prompter,
          ReportViewer::Actions actions, QWidget* parent = nullptr);
  ~RepDisp() override;

  ReportViewer& view() { return mView; }
  // The report has been written or read in: the slider learns its pages.
  void reportReady();
  // Shows the screen device's page as it stands now, from its top.
  void showPage();
  // Draws the page at the zoom chosen; the part of the page in sight stays.
  void setZoom(Zoom zoom);

  // Tests choose what the dialogs answer.
  void setPrintDialogue(PrintDialogue dialogue) { mPrintDialogue = std::move(dialogue); }
  // The chooser is given the name offered: a document's own ("Invoice 7.pdf"), else none.
  void setPdfFileChooser(std::function<QString(const QString& offered)> chooser) {
    mPdfFileChooser = std::move(chooser);
  }
  // Without a printer Print offers the PDF file instead of an empty dialog.
  void setPrinterAvailable(std::function<bool()> available) {
    mPrinterAvailable = std::move(available);
  }

  RulerWindow* ruler() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* addButton(const char* name, const QString& caption, const QString& tip,
                         std::function<void()> action);
  void run(const std::function<void()>& command);
  void layOutScrollBars();
  // Draws the page at the zoom's scale for the frame as it is now.
  void drawAtZoom();
  // Places the page as the scroll bars say, centred when it is smaller than the frame.
  void placePicture();
  void print();
  void saveAsPdf();
  void showRuler(bool open);

  ReportViewer mView;
  ScreenPageDevice* mScreen;
  FileOps* mOps;
  Prompter* mPrompter;
  PrintDialogue mPrintDialogue;
  std::function<QString(const QString&)> mPdfFileChooser;
  std::function<bool()> mPrinterAvailable;
  QFrame* mFrame1;
  PagePicture* mPicture;
  QScrollBar* mVScroll;
  QScrollBar* mHScroll;
  QScrollBar* mPageSlider;
  QLabel* mPageLabel;
  QPushButton* mDetails;  // shown for a report with a details window
  QButtonGroup* mZoomButtons;
  QPointer<RulerWindow> mRuler;
};

}  // namespace lum
