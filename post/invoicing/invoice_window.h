#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "post/invoicing/invoice_editor.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace lum {

class FlexGrid;
class OpenInvoice;

// The invoice window Invoice: the customer and header boxes (InBox 0 to
// 17), the invoice number (Label4), the customer and product searches
// (Frame1, Frame2), the line grid with its edit box (Grid, Text1), Inv Paid
// (Check1) and the commands Command1 to Command4 and Esc. It shows what
// the invoice editor holds and forwards every event to it.
class InvoiceWindow final : public QWidget {
  Q_OBJECT

 public:
  using Runner = std::function<void(const std::function<void()>&)>;
  // What the window asks of the program.
  struct Actions {
    std::function<void()> close;             // Ok done, Clear Invoice, Esc
    std::function<void(int invoice)> print;  // the saved invoice's tax invoice in the viewer
  };

  InvoiceWindow(std::shared_ptr<OpenInvoice> invoice, Actions actions, Runner run,
                QWidget* parent = nullptr);
  ~InvoiceWindow() override;

  // The invoice is closed: the window forwards nothing more.
  void detach();
  FlexGrid* grid() const { return mGrid; }

 private:
  class Source;

  // Shows the editor's state: number, boxes, Inv Paid, grid, edit box.
  void display();
  // Runs an event's forwarding while the invoice is open, then shows it.
  void forward(const std::function<void(InvoiceEditor&)>& event);
  // Hands the boxes the user changed to the editor (before a command).
  void storeBoxes();
  void storeBox(int box);
  QLineEdit* makeBox(int box, int width);
  QWidget* buildCustomer();
  QWidget* buildSearches();
  QWidget* buildPayment();
  QPushButton* addCommand(QLayout* strip, const char* name, const char* caption,
                          std::function<void()> action);
  void orderTabs();

  std::shared_ptr<OpenInvoice> mInvoice;
  Actions mActions;
  Runner mRun;
  std::unique_ptr<Source> mSource;
  FlexGrid* mGrid = nullptr;
  QLineEdit* mEditBox = nullptr;
  QLabel* mNumber = nullptr;
  QLineEdit* mCustomerSearch = nullptr;
  QLineEdit* mProductSearch = nullptr;
  std::array<QToolButton*, 4> mImages{};
  QCheckBox* mPaid = nullptr;
  std::array<QLineEdit*, InvoiceEditor::kBoxes> mBoxes{};
  std::array<QPushButton*, 5> mCommands{};
};

}  // namespace lum
