#include "post/app/panel_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "panel/input_panel_widget.h"
#include "panel/money.h"
#include "post/app/entity_details_layout.h"
#include "post/journals/account_transfer.h"
#include "post/journals/budget_panel.h"
#include "post/login/detail_panels.h"
#include "post/login/list_panels.h"
#include "post/login/session.h"
#include "post/login/window_dispatch.h"
#include "post/reports/client_selection.h"

namespace lum {
namespace {

// Two option buttons in a frame, bound to one of the entity's choices.
QGroupBox* choiceFrame(QWidget* parent, const char* title, const char* offName,
                       const char* offCaption, const char* onName, const char* onCaption,
                       bool& choice) {
  auto* frame = new QGroupBox(title, parent);
  auto* layout = new QVBoxLayout(frame);
  auto* off = new QRadioButton(offCaption, frame);
  off->setObjectName(offName);
  auto* on = new QRadioButton(onCaption, frame);
  on->setObjectName(onName);
  layout->addWidget(off);
  layout->addWidget(on);
  (choice ? on : off)->setChecked(true);
  QObject::connect(on, &QRadioButton::toggled, frame,
                   [&choice](bool checked) { choice = checked; });
  return frame;
}

}  // namespace

PanelWindow::PanelWindow(Session& session, int index, Runner run, QWidget* parent)
    : QWidget(parent),
      mSession(session),
      mIndex(index),
      mRun(std::move(run)),
      mPanel(index == kEntityDetails
                 ? new InputPanelWidget(*session.panel(index), entityDetailsLayout(), this)
                 : new InputPanelWidget(*session.panel(index), this)),
      mButtons(new QWidget(this)) {
  auto* layout = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  body->addWidget(mPanel, 1);
  if (index == kEntityDetails) {
    body->addWidget(buildEntityChoices());
  }
  layout->addLayout(body);
  if (index == kJournalDetails) {
    layout->addWidget(buildTransferChoices());
  }
  if (index == kBudget) {
    layout->addWidget(buildBudgetTotals());
  }
  new QHBoxLayout(mButtons);
  mButtons->layout()->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(mButtons);

  const auto back = [this] { closeWindow(mSession); };
  const auto accept = [this] { acceptAndClose(mSession); };
  switch (index) {
    case kJournalsList:
    case kEntitiesList:
      addButton("Command1", "Esc", back);
      addButton("Command2", index == kJournalsList ? "&Open Journal" : "Select",
                [this] { openSelectedLine(mSession, mIndex); });
      addButton("Command3", "&Details", [this] { openLineDetails(mSession, mIndex); });
      // A double click on a line opens it, as the second button does.
      for (QLineEdit* box : mPanel->findChildren<QLineEdit*>("InBox")) {
        box->installEventFilter(this);
      }
      break;
    case kJournalDetails:
      addButton("Command1", "OK", accept);
      addButton("Command2", "Esc", back);
      addButton("Command3", "Account Dets", [this] {
        mSession.backLinks[kAccountList] = kJournalDetails;
        openWindow(mSession, kAccountList);
      });
      addButton("Command4", "Transfer Account Names", [this] {
        const auto option = chosenTemplate();
        transferAccountNamesShown(
            mSession,
            option ? std::optional(static_cast<AccountsTemplate>(*option)) : std::nullopt);
      });
      break;
    case kEntityDetails:
      addButton("Command1", "&OK", accept);
      addButton("Command2", "Esc", back);
      break;
    case kAccountList:
      addButton("Command1", "&Ok", back);
      break;
    case kAccountDetails:
      addButton("Command1", "OK", accept);
      addButton("Command2", "Esc", back);
      break;
    case kBudget:
      addButton("Command1", "&Ok", accept);
      addButton("Command2", "Esc", back);
      break;
    default:
      addButton("Command1", "Esc", back);
      break;
  }
}

PanelWindow::PanelWindow(Session& session, ClientSelection& selection, Runner run, QWidget* parent)
    : PanelWindow(session, kClientSelection, std::move(run), parent) {
  auto* body = qobject_cast<QBoxLayout*>(layout()->itemAt(0)->layout());
  body->addWidget(buildClientChoices(selection));
  // OK first, as the other windows; Command1 (Esc) was made by the table above.
  auto* ok = new QPushButton("&OK", mButtons);
  ok->setObjectName("Command2");
  ok->setAutoDefault(false);
  qobject_cast<QBoxLayout*>(mButtons->layout())->insertWidget(0, ok);
  connect(ok, &QPushButton::clicked, this,
          [this, &selection] { mRun([&selection] { selection.accept(); }); });
}

// The three options of window 9, each enabling the boxes it needs.
QWidget* PanelWindow::buildClientChoices(ClientSelection& selection) {
  auto* frame = new QGroupBox("Clients", this);
  auto* layout = new QVBoxLayout(frame);
  const std::pair<const char*, ClientChoice> options[] = {{"All", ClientChoice::All},
                                                          {"Range", ClientChoice::Range},
                                                          {"Selected", ClientChoice::Selected}};
  int option = 1;
  for (const auto& [caption, choice] : options) {
    auto* button = new QRadioButton(caption, frame);
    button->setObjectName(QString("Option%1").arg(option++));
    button->setChecked(selection.choice() == choice);
    layout->addWidget(button);
    connect(button, &QRadioButton::toggled, this, [this, &selection, choice = choice](bool on) {
      if (on) {
        mRun([this, &selection, choice] {
          selection.choose(choice);
          mPanel->focusCurrentBox();
        });
      }
    });
  }
  layout->addStretch();
  return frame;
}

void PanelWindow::addButton(const char* name, const char* caption, std::function<void()> action) {
  auto* button = new QPushButton(caption, mButtons);
  button->setObjectName(name);
  button->setAutoDefault(false);
  mButtons->layout()->addWidget(button);
  if (action) {
    connect(button, &QPushButton::clicked, this, [this, action] { mRun(action); });
  }
}

QWidget* PanelWindow::buildEntityChoices() {
  auto* choices = new QWidget(this);
  auto* layout = new QVBoxLayout(choices);
  EntityChoices& chosen = mSession.entityChoices;
  layout->addWidget(choiceFrame(choices, "Set Up Type", "Option1", "Small Cash Business", "Option2",
                                "Other Businesses", chosen.otherBusiness));
  layout->addWidget(choiceFrame(choices, "GST Period", "Option3", "Monthly", "Option4", "Quarterly",
                                chosen.quarterly));
  layout->addWidget(
      choiceFrame(choices, "GST Type", "Option5", "Cash", "Option6", "Accruals", chosen.accruals));
  auto* invoicing = new QCheckBox("Setup Invoicing", choices);
  invoicing->setObjectName("Check1");
  invoicing->setChecked(chosen.invoicing);
  connect(invoicing, &QCheckBox::toggled, this,
          [&chosen](bool checked) { chosen.invoicing = checked; });
  layout->addWidget(invoicing);
  layout->addStretch();
  return choices;
}

// The templates "Transfer Account Names" copies from.
QWidget* PanelWindow::buildTransferChoices() {
  auto* frame = new QGroupBox(this);
  auto* layout = new QHBoxLayout(frame);
  int option = 1;
  for (const char* caption : {"Bank Journal", "Petty Cash", "Takings Book", "Cash Payments Book"}) {
    auto* button = new QRadioButton(caption, frame);
    mTemplates[static_cast<std::size_t>(option - 1)] = button;
    button->setObjectName(QString("Option%1").arg(option++));
    layout->addWidget(button);
  }
  return frame;
}

std::optional<int> PanelWindow::chosenTemplate() const {
  for (std::size_t i = 0; i < mTemplates.size(); ++i) {
    if (mTemplates[i] != nullptr && mTemplates[i]->isChecked()) {
      return static_cast<int>(i);
    }
  }
  return std::nullopt;
}

// The Total line, the cost of sales ratio and the period, below the months;
// they follow the boxes as they are typed.
QWidget* PanelWindow::buildBudgetTotals() {
  auto* totals = new QWidget(this);
  auto* grid = new QGridLayout(totals);
  grid->setContentsMargins(0, 0, 0, 0);
  const auto label = [totals](const char* name, const QString& caption) {
    auto* text = new QLabel(caption, totals);
    text->setObjectName(name);
    return text;
  };
  const auto sum = [totals](const char* name) {
    auto* box = new QLineEdit(totals);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignRight);
    return box;
  };
  mTotalSales = sum("TotalSales");
  mTotalCost = sum("TotalCost");
  mRatio = label("Ratio", {});
  grid->addWidget(label("Label2", "Sales"), 0, 1);
  grid->addWidget(label("Label3", "C.O.S."), 0, 2);
  grid->addWidget(label("Label4", "Total"), 1, 0);
  grid->addWidget(mTotalSales, 1, 1);
  grid->addWidget(mTotalCost, 1, 2);
  grid->addWidget(label("Label5", "Budgeted Cost of Sales Ratio"), 2, 0);
  grid->addWidget(mRatio, 2, 1);
  grid->addWidget(label("Label6", "GST Period"), 3, 0);
  mPeriod = label("Period", {});
  grid->addWidget(mPeriod, 3, 1);
  for (QLineEdit* box : mPanel->findChildren<QLineEdit*>("InBox")) {
    connect(box, &QLineEdit::textChanged, this, [this] { showBudgetTotals(); });
  }
  showBudgetTotals();
  return totals;
}

void PanelWindow::showBudgetTotals() {
  const BudgetTotals totals = typedBudgetTotals(mSession);
  const auto text = [](const std::optional<Currency>& amount) {
    return amount ? QString::fromStdString(formatMoney(*amount)) : QString("too large");
  };
  mTotalSales->setText(text(totals.sales));
  mTotalCost->setText(text(totals.costOfSales));
  mRatio->setText(QString::fromStdString(totals.ratio));
  mPeriod->setText(QString::fromStdString(selectedPeriodName(mSession)));
}

bool PanelWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    mRun([this] { openSelectedLine(mSession, mIndex); });
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void PanelWindow::focusCurrentBox() {
  mPanel->focusCurrentBox();
}

}  // namespace lum
