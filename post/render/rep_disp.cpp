#include "post/render/rep_disp.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "platform/scope_guard.h"
#include "post/render/pdf_file.h"
#include "post/render/printer_page_device.h"
#include "post/render/ruler_window.h"

namespace lum {

PagePicture::PagePicture(QWidget* parent) : QWidget(parent) {
  setObjectName("Picture1");
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PagePicture::setImage(const QImage& image) {
  mImage = image;
  resize(image.size());
  update();
}

void PagePicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, mImage);
}

RepDisp::RepDisp(Yazan& yazan, ScreenPageDevice& screen, FileOps& ops, Prompter& prompter,
                 ReportViewer::Actions actions, QWidget* parent)
    : QWidget(parent),
      mView(yazan,
            [this, actions]() mutable {
              actions.showRuler = [this](bool open) { showRuler(open); };
              return actions;
            }()),
      mScreen(&screen),
      mOps(&ops),
      mPrompter(&prompter) {
  setObjectName("RepDisp");
  setWindowTitle("Report Display");

  auto* strip = new QWidget(this);
  auto* row = new QHBoxLayout(strip);
  row->setContentsMargins(2, 2, 2, 2);
  row->setSpacing(2);
  const auto button = [&](const char* name, const QString& caption, const QString& tip,
                          std::function<void()> action) {
    QPushButton* b = addButton(name, caption, tip, std::move(action));
    // A narrow window narrows the buttons to their captions before the slider goes.
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(QString(caption).remove('&')) + 16);
    row->addWidget(b);
    return b;
  };
  button("Command1", "&Ruler", "Show or hide the measuring ruler", [this] { mView.toggleRuler(); });
  button("Command2", "|<", "First page (Home)", [this] { mView.first(); });
  button("Command4", "<", "Previous page (Page Up)", [this] { mView.previous(); });
  button("Command5", ">", "Next page (Page Down)", [this] { mView.next(); });
  button("Command3", ">|", "Last page (End)", [this] { mView.last(); });
  button("Command6", "Re-&run", "Run the reports again", [this] { mView.rerun(); });
  button("Command7", "&Archive", "Archive this report", [this] { mView.archive(); });
  button("Command8", "&Print", "Print pages of the report (Ctrl+P)", [this] { print(); });
  button("Command9", "P&DF", "Save the report, or the invoice or statement on view, as a PDF file",
         [this] { saveAsPdf(); });
  mDetails = button("Command10", "De&tails",
                    "The rows that make each figure of the GST report and its BAS labels",
                    [this] { mView.details(); });
  mDetails->hide();
  mZoomButtons = new QButtonGroup(this);
  const auto zoomButton = [&](const char* name, const QString& caption, const QString& tip,
                              Zoom zoom) {
    QPushButton* b = button(name, caption, tip, [this, zoom] { setZoom(zoom); });
    b->setCheckable(true);
    b->setChecked(zoom == mView.zoom());
    mZoomButtons->addButton(b, static_cast<int>(zoom));
  };
  zoomButton("ZoomFitWidth", "Fit &Width", "The page as wide as the window (Ctrl+2)",
             Zoom::FitWidth);
  zoomButton("ZoomFitPage", "Fit Pa&ge", "The whole page in the window (Ctrl+0)", Zoom::FitPage);
  zoomButton("ZoomActual", "100 %", "The page at its own size (Ctrl+1)", Zoom::Actual);
  mPageSlider = new QScrollBar(Qt::Horizontal, strip);
  mPageSlider->setObjectName("HScroll2");
  mPageSlider->setMinimum(1);
  mPageSlider->setMaximum(1);
  mPageSlider->setPageStep(1);
  mPageSlider->setMinimumWidth(100);
  row->addWidget(mPageSlider, 1);
  mPageLabel = new QLabel(strip);
  mPageLabel->setObjectName("PageLabel");
  mPageLabel->setMinimumWidth(mPageLabel->fontMetrics().horizontalAdvance("Page 999 of 999"));
  row->addWidget(mPageLabel);
  connect(mPageSlider, &QScrollBar::valueChanged, this,
          [this](int page) { run([this, page] { mView.slide(page); }); });

  auto* frame2 = new QFrame(this);
  frame2->setObjectName("Frame2");
  frame2->setFrameShape(QFrame::StyledPanel);
  auto* grid = new QGridLayout(frame2);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  mFrame1 = new QFrame(frame2);
  mFrame1->setObjectName("Frame1");
  mFrame1->setAutoFillBackground(true);
  QPalette grey = mFrame1->palette();
  grey.setColor(QPalette::Window, QColor(128, 128, 128));
  mFrame1->setPalette(grey);
  mFrame1->installEventFilter(this);
  mPicture = new PagePicture(mFrame1);
  mVScroll = new QScrollBar(Qt::Vertical, frame2);
  mVScroll->setObjectName("VScroll1");
  mHScroll = new QScrollBar(Qt::Horizontal, frame2);
  mHScroll->setObjectName("HScroll1");
  grid->addWidget(mFrame1, 0, 0);
  grid->addWidget(mVScroll, 0, 1);
  grid->addWidget(mHScroll, 1, 0);
  connect(mVScroll, &QScrollBar::valueChanged, this, [this] { placePicture(); });
  connect(mHScroll, &QScrollBar::valueChanged, this, [this] { placePicture(); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(strip);
  layout->addWidget(frame2, 1);

  const auto key = [this](QKeySequence sequence, std::function<void()> action) {
    auto* shortcut = new QShortcut(sequence, this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, action] { run(action); });
  };
  key(Qt::Key_PageDown, [this] { mView.next(); });
  key(Qt::Key_PageUp, [this] { mView.previous(); });
  key(Qt::Key_Home, [this] { mView.first(); });
  key(Qt::Key_End, [this] { mView.last(); });
  key(QKeySequence::Print, [this] { print(); });
  key(Qt::CTRL | Qt::Key_0, [this] { setZoom(Zoom::FitPage); });
  key(Qt::CTRL | Qt::Key_1, [this] { setZoom(Zoom::Actual); });
  key(Qt::CTRL | Qt::Key_2, [this] { setZoom(Zoom::FitWidth); });
  key(Qt::Key_Down, [this] { mVScroll->triggerAction(QAbstractSlider::SliderSingleStepAdd); });
  key(Qt::Key_Up, [this] { mVScroll->triggerAction(QAbstractSlider::SliderSingleStepSub); });
  key(Qt::Key_Right, [this] { mHScroll->triggerAction(QAbstractSlider::SliderSingleStepAdd); });
  key(Qt::Key_Left, [this] { mHScroll->triggerAction(QAbstractSlider::SliderSingleStepSub); });

  // The page commands may outlive the window (a closed window is deleted
  // later): the hook asks whether the window is still there.
  yazan.setPageShown([window = QPointer<RepDisp>(this)] {
    if (window) {
      window->showPage();
    }
  });
  setFocusPolicy(Qt::StrongFocus);
  resize(900, 700);
  showPage();
}

RepDisp::~RepDisp() = default;

QPushButton* RepDisp::addButton(const char* name, const QString& caption, const QString& tip,
                                std::function<void()> action) {
  auto* b = new QPushButton(caption, this);
  b->setObjectName(name);
  b->setToolTip(tip);
  b->setAutoDefault(false);
  connect(b, &QPushButton::clicked, this, [this, action] { run(action); });
  return b;
}

void RepDisp::run(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& error) {
    mPrompter->message(error.what(), Icon::Critical);
  }
}

RulerWindow* RepDisp::ruler() const {
  return mRuler.data();
}

void RepDisp::reportReady() {
  const QSignalBlocker blocker(mPageSlider);
  mPageSlider->setMaximum(std::max(1, mView.pageCount()));
  mPageSlider->setValue(std::max(1, mView.page()));
  showPage();
}

void RepDisp::showPage() {
  mDetails->setVisible(mView.hasDetails());
  // Each page is shown from its top.
  mVScroll->setValue(0);
  drawAtZoom();
  {
    const QSignalBlocker blocker(mPageSlider);
    mPageSlider->setMaximum(std::max(1, mView.pageCount()));
    mPageSlider->setValue(std::max(1, mView.page()));
  }
  mPageLabel->setText(mView.pageCount() > 0
                          ? QString("Page %1 of %2").arg(mView.page()).arg(mView.pageCount())
                          : QString());
}

void RepDisp::setZoom(Zoom zoom) {
  mZoomButtons->button(static_cast<int>(zoom))->setChecked(true);
  if (zoom == mView.zoom()) {
    return;
  }
  // The same part of the page stays in sight.
  const QSize before = mPicture->size();
  const double across =
      before.width() > 0 ? (mHScroll->value() + mHScroll->pageStep() / 2.0) / before.width() : 0;
  const double down =
      before.height() > 0 ? (mVScroll->value() + mVScroll->pageStep() / 2.0) / before.height() : 0;
  mView.setZoom(zoom);
  drawAtZoom();
  const QSize after = mPicture->size();
  mHScroll->setValue(static_cast<int>(across * after.width() - mHScroll->pageStep() / 2.0));
  mVScroll->setValue(static_cast<int>(down * after.height() - mVScroll->pageStep() / 2.0));
}

void RepDisp::drawAtZoom() {
  const QSizeF actual = mScreen->pageSize() * mScreen->pixelsPerMillimetre();
  const QSize frame = mFrame1->size();
  mScreen->setZoom(mView.scale(actual.width(), actual.height(), frame.width(), frame.height()));
  mPicture->setImage(mScreen->image());
  layOutScrollBars();
}

void RepDisp::layOutScrollBars() {
  const QSize picture = mPicture->size();
  const QSize frame = mFrame1->size();
  mHScroll->setRange(0, std::max(0, picture.width() - frame.width()));
  mVScroll->setRange(0, std::max(0, picture.height() - frame.height()));
  mHScroll->setPageStep(std::max(1, frame.width()));
  mVScroll->setPageStep(std::max(1, frame.height()));
  mHScroll->setSingleStep(std::max(1, picture.width() / 20));
  mVScroll->setSingleStep(std::max(1, picture.height() / 40));
  placePicture();
}

void RepDisp::placePicture() {
  const QSize picture = mPicture->size();
  const QSize frame = mFrame1->size();
  const auto at = [](int pictureSide, int frameSide, int scrolled) {
    return pictureSide < frameSide ? (frameSide - pictureSide) / 2 : -scrolled;
  };
  mPicture->move(at(picture.width(), frame.width(), mHScroll->value()),
                 at(picture.height(), frame.height(), mVScroll->value()));
}

void RepDisp::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layOutScrollBars();
}

bool RepDisp::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mFrame1) {
    if (event->type() == QEvent::Resize) {
      // A fitted page follows the window's size.
      if (mView.zoom() == Zoom::Actual) {
        layOutScrollBars();
      } else {
        drawAtZoom();
      }
    } else if (event->type() == QEvent::Wheel) {
      const auto* wheel = static_cast<QWheelEvent*>(event);
      mVScroll->setValue(mVScroll->value() - wheel->angleDelta().y() / 2);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void RepDisp::print() {
  run([this] {
    QPrinter printer(QPrinter::HighResolution);
    if (!mView.archiveMode() && mView.pageCount() >= 1) {
      const bool available =
          mPrinterAvailable ? mPrinterAvailable()
                            : printer.isValid() && !QPrinterInfo::availablePrinters().isEmpty();
      if (!available) {
        // The dialog would open on nothing and print nothing.
        if (mPrompter->yes("No printer is available. The PDF button saves the report as a PDF "
                           "file. Save it as a PDF file now?",
                           Icon::Exclamation)) {
          saveAsPdf();
        }
        return;
      }
    }
    PrinterPageDevice device(printer);
    Yazan& yazan = mView.yazan();
    yazan.setPrinter(&device);
    const ScopeGuard forgetPrinter([&yazan] { yazan.setPrinter(nullptr); });
    mView.print(mPrintDialogue ? mPrintDialogue : qtPrintDialogue(printer, this));
  });
}

void RepDisp::saveAsPdf() {
  if (mView.pageCount() < 1) {
    return;
  }
  const PdfOffer offer = mView.pdfOffer();
  const QString offered = QString::fromStdString(offer.fileName);
  // The dialog opens in the user's documents, not the program's directory.
  const QString name =
      mPdfFileChooser
          ? mPdfFileChooser(offered)
          : QFileDialog::getSaveFileName(
                this,
                mView.documentOnView() ? "Save the document as PDF" : "Save the report as PDF",
                QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                    .filePath(offered),
                "PDF files (*.pdf)");
  if (name.isEmpty()) {
    return;
  }
  QString file = name;
  if (!file.endsWith(".pdf", Qt::CaseInsensitive)) {
    file += ".pdf";
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QProgressDialog progress("Writing " + file + "...", QString(), 0,
                           offer.lastPage - offer.firstPage + 1, this);
  progress.setObjectName("PdfProgress");
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  try {
    PdfFile pdf(*mOps, file.toStdString(), QString::fromStdString(offer.title));
    mView.yazan().ReplayPages(pdf.device(), offer.firstPage, offer.lastPage,
                              [&progress](int done, int) { progress.setValue(done); });
    pdf.save();
  } catch (const std::exception& error) {
    QApplication::restoreOverrideCursor();
    mPrompter->message(
        "The PDF file " + file.toStdString() + " could not be written: " + error.what(),
        Icon::Critical);
    return;
  }
  QApplication::restoreOverrideCursor();
  mView.pdfSaved(file.toStdString(), offer);
}

void RepDisp::showRuler(bool open) {
  if (!open) {
    if (mRuler) {
      mRuler->close();
    }
    return;
  }
  if (!mRuler) {
    mRuler = new RulerWindow(
        96 / 25.4, [this](bool opened) { opened ? mView.rulerOpened() : mView.rulerClosed(); },
        this);
  }
  const QRect screen =
      this->screen() != nullptr ? this->screen()->geometry() : QRect(0, 0, 1280, 1024);
  // Three quarters of the screen wide, 250 twips high, its top at half the screen's height.
  mRuler->setGeometry(screen.x() + screen.width() / 8, screen.y() + screen.height() / 2,
                      screen.width() * 3 / 4, 250 / 15);
  mRuler->show();
}

void RepDisp::hideEvent(QHideEvent* event) {
  // The viewer leaves the screen (closed or unloaded): its ruler with it.
  mView.unload();
  QWidget::hideEvent(event);
}

void RepDisp::closeEvent(QCloseEvent* event) {
  mView.unload();
  QWidget::closeEvent(event);
}

}  // namespace lum
