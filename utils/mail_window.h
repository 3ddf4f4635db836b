#pragma once

#include <memory>

#include "utils/mail_queue.h"
#include "utils/utils_windows.h"

class QCheckBox;
class QFormLayout;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTreeWidget;

namespace lum {

// The mail window "EMailF" (code 6): the server and message fields, the
// attachments and the mail queue "listMail", whose rows the queue's status
// and progress events update on this window's thread.
class MailWindow final : public UtilsChildWindow {
  Q_OBJECT

 public:
  MailWindow(UtilsDispatch& dispatch, UtilsSession& session, Storage& storage,
             MxResolver& resolver);
  ~MailWindow() override;

  void prepare() override;
  MailQueue& queue() { return *mQueue; }
  // Queues the message of the window's fields and adds its row.
  void addToQueue();
  void clearQueue();

 private:
  QLineEdit* field(const char* name, const char* label, QFormLayout* form);
  void statusChanged(int message, MailStatus status);
  void progress(int message, std::uint64_t sent, std::uint64_t total);
  void setRowStatus(int message, const QString& text);
  void addAttachment();
  void saveAndClose();

  UtilsSession& mSession;
  Storage& mStorage;
  QLineEdit* mServer;
  QLineEdit* mPort;
  QLineEdit* mUser;
  QLineEdit* mPassword;
  QLineEdit* mThreads;
  QLineEdit* mSenderName;
  QLineEdit* mSenderAddress;
  QLineEdit* mToName;
  QLineEdit* mToAddress;
  QLineEdit* mSubject;
  QPlainTextEdit* mBody;
  QPlainTextEdit* mHtmlBody;
  QListWidget* mAttachments;
  QCheckBox* mSendDirect;
  QTreeWidget* mQueueList;
  std::unique_ptr<MailQueue> mQueue;  // last: its threads end before the widgets go
};

}  // namespace lum
