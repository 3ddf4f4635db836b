#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string_view>

#include "post/app/qt_program_starter.h"
#include "post/app/window_sizes.h"
#include "post/login/session.h"
#include "post/login/window_host.h"
#include "post/reports/report_archive.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QPushButton;

namespace lum {

class ClientSelection;
class ChildWindow;
class InvoiceWindow;
class JournalWindow;
class OpenInvoice;
class OpenJournal;
class FontList;
class HelpWindow;
class ReportPages;
class ReportRun;
class ScreenPageDevice;
class TransferWindow;

// LumPost's main window: toolbar, GST period list, menus and the entity
// banner around the numbered child windows. It shows what the log-in logic
// decides and hands every command to it.
class LumPostForm final : public QMainWindow, public WindowHost {
  Q_OBJECT

 public:
  explicit LumPostForm(Session& session, QWidget* parent = nullptr);
  ~LumPostForm() override;

  QMdiArea* mdiArea() const { return mMdiArea; }
  // Starts the lock heartbeat (Timer1) once a work area is held.
  void startHeartbeat();
  // Runs a command, telling the user of any failure instead of ending.
  void run(const std::function<void()>& command);
  // How the data manager is started (tests give a fake).
  void setProgramStarter(ProgramStarter& starter) { mStarter = &starter; }
  // The invoice window's Print, once the invoice is saved: its tax invoice
  // in the viewer.
  void printTaxInvoice(int invoice);
  // The bank statement the journal window's Bank Statement imports (tests
  // choose it; by default a file dialog asks).
  void setStatementChooser(std::function<QString()> chooser) {
    mStatementChooser = std::move(chooser);
  }
  // Where the sizes of the windows are kept (tests keep them apart).
  void keepWindowSizesIn(const QString& file) { mWindowSizes = WindowSizes(file); }

  // WindowHost
  void showWindow(int index, WindowPosition position) override;
  void unloadWindow(int index) override;
  void unloadAllWindows() override;
  WindowPosition windowPosition(int index) const override;
  void setWindowEnabled(int index, bool enabled) override;
  void focusWindow(int index) override;
  void applyCommandStates(const CommandStates& states) override;
  void showMainWindowState(const MainWindowState& state) override;
  void endProgram() override;
  void showStatus(const std::string& text) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildToolbar();
  void buildMenus();
  QWidget* buildBanner();
  QPushButton* addCommand(QWidget* strip, const char* name, const char* caption,
                          std::function<void()> action);
  QAction* addAction(QMenu* menu, const char* name, const char* caption,
                     std::function<void()> action = {});
  QWidget* makeContent(int index);
  QWidget* makeJournalWindow();
  QWidget* makeReportViewer();
  QWidget* makeGstDetails();
  // The details window's double click: the journal opened at the row.
  void openJournalAt(int journal, int row);
  void registerJournalWindow();
  void registerReportWindows();
  void registerInvoiceWindow();
  void registerTransferWindow();
  JournalWindow* journalWindow() const;
  InvoiceWindow* invoiceWindow() const;
  TransferWindow* transferWindow() const;
  // The progress box (window 14), when it is open.
  void showProgress(int done, int total);
  // The journal window's Invoice button: the invoice of the current row.
  void openInvoice();
  void requestReport(ReportCode code);
  // The invoice reports: their date first.
  void askReportDate(ReportCode code);
  void openUnlessCurrent(int index);
  // Says "<caption> is not available in this version." (without the mnemonic's &).
  void notAvailable(std::string_view caption);
  // Whether the window has contents of its own yet (else it would open empty).
  bool hasContent(int index) const;
  // Opens the window of a command, or says the command is not available yet.
  void openBuilt(int index, const char* caption);
  // The manual at the section of the current window (Help and F1).
  void showHelp();

  Session& mSession;
  QMdiArea* mMdiArea;
  QComboBox* mPeriods = nullptr;
  QPushButton* mDiskToggle = nullptr;
  QLabel* mMode = nullptr;
  QLineEdit* mBanner = nullptr;
  QTimer mHeartbeat;
  std::map<std::string, QObject*, std::less<>> mControls;
  std::map<int, QPointer<ChildWindow>> mWindows;
  bool mEnding = false;
  // The journal in the journal window; shared with the window, which may
  // outlive its closing by a turn of the event loop.
  std::shared_ptr<OpenJournal> mOpenJournal;
  bool mJournalLeaving = false;
  int mJournalAsked = 0;  // the journal the next opening opens; 0: the list's
  // The invoice in the invoice window, over the journal's current row.
  std::shared_ptr<OpenInvoice> mOpenInvoice;
  // The viewer's page and the page commands drawing on it (window 10).
  std::unique_ptr<ScreenPageDevice> mScreenPage;
  std::unique_ptr<ReportPages> mReportPages;
  std::unique_ptr<ReportRun> mReportRun;
  ClientSelection* mClientSelection = nullptr;  // window 9's logic, kept by the session
  ReportArchive mReportArchive;                 // keeps the period's end for the run
  std::unique_ptr<FontList> mFontList;
  WindowSizes mWindowSizes{WindowSizes::defaultFile()};
  QtProgramStarter mQtStarter;
  ProgramStarter* mStarter = &mQtStarter;
  QPointer<HelpWindow> mHelp;
  std::function<QString()> mStatementChooser;
};

}  // namespace lum
