#include "post/invoicing/invoice_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>
#include <string>
#include <vector>

#include "post/invoicing/open_invoice.h"
#include "post/journals/flex_grid_widget.h"

namespace lum {
namespace {

using Editor = InvoiceEditor;

struct ColumnLook {
  const char* heading;
  int characters;  // width in average characters
  bool right;
  bool centred;
};

// The line grid's columns: Code, Particulars, Qty, Unit, GST, Amount.
constexpr std::array<ColumnLook, Editor::kLastColumn + 1> kColumns = {{
    {"Code", 8, false, true},
    {"Particulars", 48, false, false},
    {"Qty", 9, false, true},
    {"Unit", 11, true, false},
    {"GST", 5, false, true},
    {"Amount", 13, true, false},
}};

// The widths of the customer's nine fields, as their records hold them.
constexpr std::array<int, 9> kCustomerWidths = {48, 48, 48, 48, 32, 3, 4, 32, 24};

QLabel* label(const char* text, QWidget* parent) {
  return new QLabel(text, parent);
}

}  // namespace

// The open invoice's lines as the grid's source; nothing once it is closed.
class InvoiceWindow::Source final : public FlexGridSource {
 public:
  explicit Source(const std::shared_ptr<OpenInvoice>& invoice) : mInvoice(invoice) {}

  int rowCount() const override { return kInvoiceLines; }
  int columnCount() const override { return Editor::kLastColumn + 1; }
  std::string heading(int column) const override {
    return kColumns.at(static_cast<std::size_t>(column)).heading;
  }
  std::string cellText(int row, int column) const override {
    const auto invoice = mInvoice.lock();
    return invoice ? invoice->editor().cellText(row, column) : std::string();
  }
  bool rightAligned(int column) const override {
    return kColumns.at(static_cast<std::size_t>(column)).right;
  }
  bool centred(int column) const override {
    return kColumns.at(static_cast<std::size_t>(column)).centred;
  }

 private:
  std::weak_ptr<OpenInvoice> mInvoice;
};

InvoiceWindow::InvoiceWindow(std::shared_ptr<OpenInvoice> invoice, Actions actions, Runner run,
                             QWidget* parent)
    : QWidget(parent),
      mInvoice(std::move(invoice)),
      mActions(std::move(actions)),
      mRun(std::move(run)),
      mSource(std::make_unique<Source>(mInvoice)) {
  setObjectName("InvoiceContent");
  auto* layout = new QVBoxLayout(this);

  auto* heading = new QHBoxLayout;
  heading->addWidget(label("Invoice No", this));
  mNumber = new QLabel(this);
  mNumber->setObjectName("Label4");
  QFont bold = mNumber->font();
  bold.setBold(true);
  if (bold.pointSizeF() > 0) {
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
  }
  mNumber->setFont(bold);
  heading->addWidget(mNumber);
  heading->addStretch();
  heading->addWidget(label("Date", this));
  heading->addWidget(makeBox(Editor::kDate, 10));
  heading->addWidget(label("Due", this));
  heading->addWidget(makeBox(Editor::kDateDue, 10));
  layout->addLayout(heading);

  auto* top = new QHBoxLayout;
  top->addWidget(buildCustomer(), 3);
  top->addWidget(buildSearches(), 2);
  layout->addLayout(top);

  auto* edit = new QHBoxLayout;
  edit->addWidget(label("Edit Box", this));
  mEditBox = new QLineEdit(this);
  mEditBox->setObjectName("Text1");
  edit->addWidget(mEditBox, 1);
  layout->addLayout(edit);

  mGrid = new FlexGrid(*mSource, this);
  mGrid->setTabKeyNavigation(false);  // Tab goes on to the next control
  for (std::size_t c = 0; c < kColumns.size(); ++c) {
    mGrid->setColumnWidth(static_cast<int>(c),
                          mGrid->fontMetrics().averageCharWidth() * kColumns[c].characters);
  }
  // Particulars takes what the window gives beyond the other columns.
  mGrid->horizontalHeader()->setSectionResizeMode(Editor::kParticulars, QHeaderView::Stretch);
  layout->addWidget(mGrid, 1);

  layout->addWidget(buildPayment());

  auto* commands = new QHBoxLayout;
  commands->addStretch();
  mCommands[0] = addCommand(commands, "Command1", "&Ok", [this] {
    storeBoxes();
    forward([this](Editor& editor) {
      if (editor.ok() == InvoiceSave::Saved) {
        mActions.close();
      }
    });
  });
  mCommands[1] = addCommand(commands, "Command2", "&Print", [this] {
    storeBoxes();
    // The tax invoice is printed from the files: the invoice is saved first.
    forward([this](Editor& editor) {
      if (editor.ok() == InvoiceSave::Saved) {
        mActions.print(editor.invoiceNumber());
      }
    });
  });
  mCommands[2] = addCommand(commands, "Command3", "&Clear Line",
                            [this] { forward([](Editor& editor) { editor.clearLine(); }); });
  mCommands[3] = addCommand(commands, "Command4", "&Clear Invoice", [this] {
    forward([this](Editor& editor) {
      editor.clearThisInvoice();
      mActions.close();
    });
  });
  mCommands[4] = addCommand(commands, "Esc", "Esc",
                            [this] { forward([this](Editor&) { mActions.close(); }); });
  layout->addLayout(commands);

  connect(mGrid, &FlexGrid::cellLeft, this, [this](int, int) {
    if (const auto open = mInvoice) {
      mRun([&open] { open->editor().leaveCell(); });
    }
  });
  connect(mGrid, &FlexGrid::cellEntered, this, [this](int row, int column) {
    forward([row, column](Editor& editor) { editor.enterCell(row, column); });
  });
  connect(mGrid, &FlexGrid::keyDown, this, [this](int code, bool shift) {
    forward([this, code, shift](Editor& editor) {
      const std::string before = editor.cellText(editor.row(), editor.column());
      editor.keyDown(code, shift);
      // Esc puts back a cell typed into; on a cell with nothing to put back it closes.
      if (code == JournalEditor::kEscape &&
          editor.cellText(editor.row(), editor.column()) == before) {
        mActions.close();
      }
    });
  });
  connect(mEditBox, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (mInvoice) {
      mInvoice->editor().editBoxChanged(text.toStdString());
      mGrid->refresh();
    }
  });
  connect(mEditBox, &QLineEdit::returnPressed, this, [this] {
    forward([](Editor& editor) { editor.keyDown(JournalEditor::kEnter, false); });
    mGrid->setFocus();
  });

  orderTabs();
  setFocusProxy(mCustomerSearch);
  display();
  resize(sizeHint().expandedTo(QSize(1000, 720)));
}

InvoiceWindow::~InvoiceWindow() = default;

void InvoiceWindow::detach() {
  mInvoice.reset();
  setEnabled(false);
}

QLineEdit* InvoiceWindow::makeBox(int box, int width) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName("InBox");
  edit->setProperty("index", box);
  if (box >= Editor::kAmountPaid) {
    edit->setAlignment(Qt::AlignRight);
  }
  edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * (width + 2));
  mBoxes.at(static_cast<std::size_t>(box)) = edit;
  connect(edit, &QLineEdit::editingFinished, this, [this, box] {
    storeBox(box);
    display();
  });
  return edit;
}

QWidget* InvoiceWindow::buildCustomer() {
  auto* frame = new QGroupBox("Customer", this);
  auto* grid = new QGridLayout(frame);
  grid->addWidget(label("Number", frame), 0, 0);
  grid->addWidget(makeBox(Editor::kCustomerNumber, 6), 0, 1, Qt::AlignLeft);
  const auto field = [&](int f) {
    QLineEdit* box = makeBox(Editor::kFirstCustomerField + f,
                             std::min(kCustomerWidths[static_cast<std::size_t>(f)], 30));
    box->setMaxLength(kCustomerWidths[static_cast<std::size_t>(f)]);
    return box;
  };
  grid->addWidget(label("Name", frame), 1, 0);
  grid->addWidget(field(0), 1, 1, 1, 3);
  grid->addWidget(field(1), 2, 1, 1, 3);
  grid->addWidget(label("Address", frame), 3, 0);
  grid->addWidget(field(2), 3, 1, 1, 3);
  grid->addWidget(field(3), 4, 1, 1, 3);
  grid->addWidget(field(4), 5, 1);
  grid->addWidget(field(5), 5, 2);
  grid->addWidget(field(6), 5, 3);
  grid->addWidget(label("Tel", frame), 6, 0);
  grid->addWidget(field(7), 6, 1);
  grid->addWidget(label("Contact", frame), 7, 0);
  grid->addWidget(field(8), 7, 1);
  grid->setColumnStretch(1, 1);
  return frame;
}

QWidget* InvoiceWindow::buildSearches() {
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  const auto search = [&](const char* frameName, const char* caption, const char* textName,
                          const char* forwardName, const char* backwardName, std::size_t image,
                          bool customers) {
    auto* frame = new QGroupBox(caption, column);
    frame->setObjectName(frameName);
    auto* row = new QHBoxLayout(frame);
    auto* text = new QLineEdit(frame);
    text->setObjectName(textName);
    row->addWidget(text, 1);
    const auto walk = [this, text, customers](int step) {
      forward([text, customers, step](Editor& editor) {
        const std::string wanted = text->text().toStdString();
        if (customers) {
          editor.searchCustomer(wanted, step);
        } else {
          editor.searchProduct(wanted, step);
        }
      });
    };
    const std::pair<const char*, int> arrows[] = {{forwardName, +1}, {backwardName, -1}};
    for (const auto& [name, step] : arrows) {
      auto* arrow = new QToolButton(frame);
      arrow->setObjectName(name);
      arrow->setArrowType(step > 0 ? Qt::DownArrow : Qt::UpArrow);
      arrow->setToolTip(step > 0 ? "Next" : "Previous");
      row->addWidget(arrow);
      mImages.at(image++) = arrow;
      connect(arrow, &QToolButton::clicked, this, [walk, step = step] { walk(step); });
    }
    connect(text, &QLineEdit::returnPressed, this, [walk] { walk(+1); });
    layout->addWidget(frame);
    return text;
  };
  mCustomerSearch = search("Frame1", "Customer Search", "Text2", "Image1", "Image2", 0, true);
  mProductSearch = search("Frame2", "Product Search", "Text3", "Image3", "Image4", 2, false);
  layout->addStretch();
  return column;
}

QWidget* InvoiceWindow::buildPayment() {
  auto* strip = new QWidget(this);
  auto* grid = new QGridLayout(strip);
  grid->setContentsMargins(0, 0, 0, 0);
  mPaid = new QCheckBox("Inv Paid", strip);
  mPaid->setObjectName("Check1");
  connect(mPaid, &QCheckBox::clicked, this,
          [this](bool paid) { forward([paid](Editor& editor) { editor.setPaid(paid); }); });
  grid->addWidget(mPaid, 1, 0);
  const std::pair<const char*, int> boxes[] = {{"Date Paid", Editor::kDatePaid},
                                               {"Amount Paid", Editor::kAmountPaid},
                                               {"Writen Off Amt", Editor::kWrittenOff},
                                               {"Discount Amt", Editor::kDiscount},
                                               {"GST", Editor::kGst},
                                               {"Total", Editor::kTotal}};
  int column = 1;
  for (const auto& [caption, box] : boxes) {
    grid->addWidget(label(caption, strip), 0, column);
    grid->addWidget(makeBox(box, 10), 1, column);
    ++column;
  }
  return strip;
}

QPushButton* InvoiceWindow::addCommand(QLayout* strip, const char* name, const char* caption,
                                       std::function<void()> action) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setAutoDefault(false);
  strip->addWidget(button);
  connect(button, &QPushButton::clicked, this, [action = std::move(action)] { action(); });
  return button;
}

void InvoiceWindow::orderTabs() {
  std::vector<QWidget*> order = {mCustomerSearch, mImages[0], mImages[1]};
  for (int box = Editor::kCustomerNumber; box <= Editor::kDateDue; ++box) {
    order.push_back(mBoxes.at(static_cast<std::size_t>(box)));
  }
  order.insert(order.end(), {mGrid, mEditBox, mProductSearch, mImages[2], mImages[3], mPaid});
  for (int box = Editor::kDatePaid; box <= Editor::kTotal; ++box) {
    order.push_back(mBoxes.at(static_cast<std::size_t>(box)));
  }
  order.insert(order.end(), mCommands.begin(), mCommands.end());
  for (std::size_t i = 1; i < order.size(); ++i) {
    QWidget::setTabOrder(order[i - 1], order[i]);
  }
}

void InvoiceWindow::forward(const std::function<void(InvoiceEditor&)>& event) {
  // Held here: the event may close the invoice (Ok, Esc) under our feet.
  const std::shared_ptr<OpenInvoice> invoice = mInvoice;
  if (!invoice) {
    return;
  }
  mRun([&] { event(invoice->editor()); });
  display();
}

void InvoiceWindow::storeBox(int box) {
  if (!mInvoice) {
    return;
  }
  Editor& editor = mInvoice->editor();
  const std::string text = mBoxes.at(static_cast<std::size_t>(box))->text().toStdString();
  if (text == editor.boxText(box)) {
    return;
  }
  mRun([&] {
    if (box == Editor::kCustomerNumber) {
      editor.selectCustomer(QString::fromStdString(text).trimmed().toInt());
    } else {
      editor.setBox(box, text);
    }
  });
}

void InvoiceWindow::storeBoxes() {
  for (int box = 0; box < Editor::kBoxes; ++box) {
    storeBox(box);
  }
}

void InvoiceWindow::display() {
  if (!mInvoice) {
    return;
  }
  const Editor& editor = mInvoice->editor();
  mNumber->setText(QString::fromStdString(editor.numberText()));
  for (int box = 0; box < Editor::kBoxes; ++box) {
    QLineEdit* edit = mBoxes.at(static_cast<std::size_t>(box));
    const QString text = QString::fromStdString(editor.boxText(box));
    if (edit->text() != text) {
      const QSignalBlocker blocker(edit);
      edit->setText(text);
    }
  }
  {
    const QSignalBlocker blocker(mPaid);
    mPaid->setChecked(editor.paid());
  }
  mGrid->refresh();
  mGrid->setCell(editor.row(), editor.column());
  const QSignalBlocker blocker(mEditBox);
  mEditBox->setText(QString::fromStdString(editor.cellText(editor.row(), editor.column())));
}

}  // namespace lum
