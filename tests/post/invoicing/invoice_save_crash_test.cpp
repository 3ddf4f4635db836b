#include <gtest/gtest.h>

#include "tests/post/invoicing/invoice_fixture.h"
#include "tests/support/crash_points.h"

namespace lum {
namespace {

using Editor = InvoiceEditor;

// An invoice saved over an earlier one: its lines, header, customer,
// product, counters and journal row change together.
class InvoiceSaveCrash : public ::testing::Test, protected test::InvoiceParts {
 protected:
  InvoiceSaveCrash() {
    startRow("");
    auto editor = invoiceEditor();
    editor->open();
    type(*editor, 1, Editor::kParticulars, "First visit");
    type(*editor, 1, Editor::kAmount, "50");
    editor->ok();
    journalEditor->enterCell(3, 0);
  }

  test::CutWriter writer() {
    return test::workAreaWriter(ops, area(), [this] {
      *journal = files.load();
      journalEditor->enterCell(3, 0);
      auto editor = invoiceEditor();
      editor->open();
      editor->setBox(Editor::kFirstCustomerField, "Harbour Cafe");
      type(*editor, 2, Editor::kCode, "4");
      type(*editor, 2, Editor::kParticulars, "Tap washers");
      type(*editor, 2, Editor::kQty, "2");
      type(*editor, 2, Editor::kUnit, "50");
      type(*editor, 2, Editor::kGstColumn, "Y");
      editor->ok();
    });
  }
};

TEST_F(InvoiceSaveCrash, EveryCutLeavesTheOldOrTheNewInvoiceAndRow) {
  const test::CutOutcome outcome = test::stopAtEveryOperation(ops, writer());
  ASSERT_NE(outcome.after, outcome.before);
  EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
  EXPECT_GT(outcome.cuts, 20);
}

TEST_F(InvoiceSaveCrash, AFailureAtAnyOperationLeavesTheOldInvoiceAndRow) {
  for (const Failure failure : {Failure::NoSpace, Failure::ShortWrite}) {
    const test::CutOutcome outcome = test::failAtEveryOperation(ops, failure, writer());
    EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
    EXPECT_GT(outcome.cuts, 20);
  }
}

}  // namespace
}  // namespace lum
