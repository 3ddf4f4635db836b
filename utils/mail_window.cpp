#include "utils/mail_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "utils/mail_settings.h"

namespace lum {
namespace {

// The columns of the queue list "listMail".
enum QueueColumn : int { kNumberColumn, kFromColumn, kToColumn, kStatusColumn };

QPushButton* button(QWidget* parent, QLayout* layout, const char* name, const char* caption) {
  auto* pushButton = new QPushButton(QString::fromUtf8(caption), parent);
  pushButton->setObjectName(name);
  layout->addWidget(pushButton);
  return pushButton;
}

std::string textOf(const QLineEdit* edit) {
  return edit->text().toStdString();
}

}  // namespace

MailWindow::MailWindow(UtilsDispatch& dispatch, UtilsSession& session, Storage& storage,
                       MxResolver& resolver)
    : UtilsChildWindow(UtilsWindow::Mail, dispatch), mSession(session), mStorage(storage) {
  setObjectName("EMailF");
  auto* layout = new QVBoxLayout(this);

  auto* serverFrame = new QGroupBox("Outgoing mail server", this);
  auto* serverForm = new QFormLayout(serverFrame);
  mServer = field("textSMTPServer", "SMTP server:", serverForm);
  mPort = field("textSMTPPort", "Port:", serverForm);
  serverForm->addRow(new QLabel("Server authentication (leave empty if not required)"));
  mUser = field("textSMTPUsername", "User name:", serverForm);
  mPassword = field("textSMTPPassword", "Password:", serverForm);
  mPassword->setEchoMode(QLineEdit::Password);
  mThreads = field("textThreads", "Number of mail sending threads:", serverForm);
  mThreads->setText("1");
  layout->addWidget(serverFrame);

  auto* messageFrame = new QGroupBox("E-mail message", this);
  auto* messageForm = new QFormLayout(messageFrame);
  mSenderName = field("textSenderName", "Sender name:", messageForm);
  mSenderAddress = field("textSenderEmail", "Sender e-mail:", messageForm);
  mToName = field("textToName", "Recipient name:", messageForm);
  mToAddress = field("textToEmail", "Recipient e-mail:", messageForm);
  mSubject = field("textSubject", "Subject:", messageForm);
  mBody = new QPlainTextEdit(messageFrame);
  mBody->setObjectName("textBody");
  mBody->setTabChangesFocus(true);
  messageForm->addRow("Message body (text):", mBody);
  mHtmlBody = new QPlainTextEdit(messageFrame);
  mHtmlBody->setObjectName("textHtmlBody");
  mHtmlBody->setTabChangesFocus(true);
  messageForm->addRow("Message body (HTML):", mHtmlBody);
  mAttachments = new QListWidget(messageFrame);
  mAttachments->setObjectName("listAttachments");
  auto* attachmentRow = new QHBoxLayout;
  attachmentRow->addWidget(mAttachments, 1);
  connect(button(messageFrame, attachmentRow, "buttonAddAttachment", "Add &attachment..."),
          &QPushButton::clicked, this, [this] { addAttachment(); });
  messageForm->addRow("Attachments:", attachmentRow);
  mSendDirect = new QCheckBox("Send message directly (do not use outgoing mail server)", this);
  mSendDirect->setObjectName("checkSendDirect");
  messageForm->addRow(mSendDirect);
  layout->addWidget(messageFrame);

  auto* queueButtons = new QHBoxLayout;
  connect(button(this, queueButtons, "buttonAddToQueue", "Add message to mail &queue"),
          &QPushButton::clicked, this, [this] { addToQueue(); });
  connect(button(this, queueButtons, "buttonClearQueue", "Clea&r mail queue"),
          &QPushButton::clicked, this, [this] { clearQueue(); });
  layout->addLayout(queueButtons);
  mQueueList = new QTreeWidget(this);
  mQueueList->setObjectName("listMail");
  mQueueList->setHeaderLabels({"Msg#", "From", "To", "Status"});
  mQueueList->setRootIsDecorated(false);
  layout->addWidget(mQueueList, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  connect(button(this, buttons, "Command2", "OK"), &QPushButton::clicked, this,
          [this] { saveAndClose(); });
  connect(button(this, buttons, "Command1", "Close"), &QPushButton::clicked, this,
          [this] { closeThroughDispatcher(); });
  layout->addLayout(buttons);

  // The sending threads hand their events to this window's thread.
  QPointer<MailWindow> self(this);
  MailPoster poster = [self](std::function<void()> call) {
    if (self) {
      QMetaObject::invokeMethod(self, std::move(call), Qt::QueuedConnection);
    }
  };
  mQueue = std::make_unique<MailQueue>(
      session.ops(), resolver, std::move(poster),
      MailEvents{[this](int message, MailStatus status) { statusChanged(message, status); },
                 [this](int message, std::uint64_t sent, std::uint64_t total) {
                   progress(message, sent, total);
                 }});
  connect(mThreads, &QLineEdit::textChanged, this, [this](const QString& text) {
    bool whole = false;
    const int count = text.trimmed().toInt(&whole);
    if (whole) {
      mQueue->setThreads(count);  // 1 to 99; anything else leaves the count alone
    }
  });
}

MailWindow::~MailWindow() {
  mQueue.reset();
}

QLineEdit* MailWindow::field(const char* name, const char* label, QFormLayout* form) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(name);
  form->addRow(label, edit);
  return edit;
}

void MailWindow::prepare() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const MailDraft draft = openMail(mSession, mStorage);
  QApplication::restoreOverrideCursor();
  const auto& settings = draft.settings;
  mServer->setText(QString::fromStdString(settings.server));
  mPort->setText(QString::fromStdString(settings.port));
  mUser->setText(QString::fromStdString(settings.userName));
  mPassword->setText(QString::fromStdString(settings.password));
  mSenderName->setText(QString::fromStdString(settings.senderName));
  mSenderAddress->setText(QString::fromStdString(settings.senderAddress));
  mToName->setText(QString::fromStdString(settings.recipientName));
  mToAddress->setText(QString::fromStdString(settings.recipientAddress));
  mSubject->setText(QString::fromStdString(draft.subject));
  mBody->setPlainText(QString::fromStdString(draft.body));
  mSendDirect->setChecked(settings.sendDirectly != 0);
  mAttachments->clear();
  for (const auto& file : draft.attachments) {
    mAttachments->addItem(QString::fromStdString(file));
  }
  if (mSession.mailSending() && !draft.attachments.empty()) {
    findChild<QPushButton*>("buttonAddToQueue")->setFocus();
    addToQueue();
  }
}

void MailWindow::addToQueue() {
  MailMessage message;
  message.server = textOf(mServer);
  message.port = mailPort(textOf(mPort));
  message.userName = textOf(mUser);
  message.password = textOf(mPassword);
  message.senderName = textOf(mSenderName);
  message.senderAddress = textOf(mSenderAddress);
  message.recipientName = textOf(mToName);
  message.recipientAddress = textOf(mToAddress);
  message.subject = textOf(mSubject);
  message.textBody = mBody->toPlainText().toStdString();
  message.htmlBody = mHtmlBody->toPlainText().toStdString();
  for (int i = 0; i < mAttachments->count(); ++i) {
    message.attachments.push_back(mAttachments->item(i)->text().toStdString());
  }
  message.sendDirectly = mSendDirect->isChecked();
  const MailAddResult added = mQueue->add(message);
  auto* row = new QTreeWidgetItem(mQueueList);
  row->setText(kFromColumn, mSenderAddress->text());
  row->setText(kToColumn, mToAddress->text());
  if (added.isQueued()) {
    row->setText(kNumberColumn, QString::number(added.number()));
    row->setText(kStatusColumn, QString::fromStdString(mailStatusText(MailStatus::Queued, 0, {})));
  } else {
    row->setText(kStatusColumn, "Error!");
    mSession.prompter().message(added.refusal(), Icon::Exclamation);
  }
}

void MailWindow::clearQueue() {
  mQueue->clear();
  mQueueList->clear();
}

void MailWindow::setRowStatus(int message, const QString& text) {
  const auto rows =
      mQueueList->findItems(QString::number(message), Qt::MatchExactly, kNumberColumn);
  for (QTreeWidgetItem* row : rows) {
    row->setText(kStatusColumn, text);
  }
}

void MailWindow::statusChanged(int message, MailStatus status) {
  const std::string text =
      mailStatusText(status, mQueue->errorCode(message), mQueue->errorText(message));
  setRowStatus(message, QString::fromStdString(text));
  if (status == MailStatus::Failed) {
    mSession.prompter().message(text, Icon::Critical);
  }
}

void MailWindow::progress(int message, std::uint64_t sent, std::uint64_t total) {
  setRowStatus(message, QString::fromStdString(mailProgressText(sent, total)));
}

void MailWindow::addAttachment() {
  const QString file = QFileDialog::getOpenFileName(this, "Add attachment", {}, "All files (*)");
  if (!file.isEmpty()) {
    mAttachments->addItem(file);
  }
}

void MailWindow::saveAndClose() {
  MailSettingsRecord settings;
  settings.server = textOf(mServer);
  settings.port = textOf(mPort);
  settings.userName = textOf(mUser);
  settings.password = textOf(mPassword);
  settings.senderName = textOf(mSenderName);
  settings.senderAddress = textOf(mSenderAddress);
  settings.recipientName = textOf(mToName);
  settings.recipientAddress = textOf(mToAddress);
  settings.sendDirectly = mSendDirect->isChecked() ? 1 : 0;
  try {
    saveMailSettings(mSession, settings);
  } catch (const std::exception& error) {
    mSession.prompter().message(error.what(), Icon::Critical);
    return;
  }
  closeThroughDispatcher();
}

}  // namespace lum
