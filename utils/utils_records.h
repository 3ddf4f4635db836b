#pragma once

// Record layouts of the data manager's files: the stored entities list
// (EnList.Dat), its used-slot count (UtCount.Dat), the saved folders
// (ZipPath.Cfg) and the mail settings (MailDets.dat). UtCount.Dat is a
// counter file (CounterRecord); the work area's and the suite's files it
// reads are in platform/suite_records.h.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/fields.h"
#include "platform/suite_records.h"

namespace lum {

// EnList.Dat record k: the list text of slot k, the entity's name cut or
// padded to 20 characters, a blank and the date it was stored ("dd/mm/yy").
struct StoredEntityRecord {
  static constexpr std::size_t kSize = 64;

  std::string text;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("text", r.text, 64);
  }
  static StoredEntityRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<StoredEntityRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// ZipPath.Cfg: record 1 the current-year store folder, 2 the e-mail folder,
// 3 the previous-year store folder, each ending with "\".
struct FolderRecord {
  static constexpr std::size_t kSize = 64;

  std::string folder;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("folder", r.folder, 64);
  }
  static FolderRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<FolderRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// MailDets.dat record 1: the mail window's saved settings.
struct MailSettingsRecord {
  static constexpr std::size_t kSize = 375;

  std::string server;
  std::string port;
  std::string userName;
  std::string password;
  std::string senderName;
  std::string senderAddress;
  std::string recipientName;
  std::string recipientAddress;
  std::int16_t sendDirectly = 0;  // the check box state: 0 unchecked, 1 checked

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("server", r.server, 64);
    f.text("port", r.port, 21);
    f.text("user_name", r.userName, 48);
    f.text("password", r.password, 48);
    f.text("sender_name", r.senderName, 48);
    f.text("sender_address", r.senderAddress, 48);
    f.text("recipient_name", r.recipientName, 48);
    f.text("recipient_address", r.recipientAddress, 48);
    f.int16("send_directly", r.sendDirectly);
  }
  static MailSettingsRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<MailSettingsRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

static_assert(fieldsSize<StoredEntityRecord>() == StoredEntityRecord::kSize);
static_assert(fieldsSize<FolderRecord>() == FolderRecord::kSize);
static_assert(fieldsSize<MailSettingsRecord>() == MailSettingsRecord::kSize);

}  // namespace lum
