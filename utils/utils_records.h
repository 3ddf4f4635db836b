#pragma once

// Record layouts of the data manager's files: the stored entities list
// (EnList.Dat), its used-slot count (UtCount.Dat), the saved folders
// (ZipPath.Cfg) and the mail settings (MailDets.dat); and the parts of the
// work area's and the suite's files that the data manager reads.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/fields.h"

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

// UtCount.Dat record 1 (the used slots of the list) and Entcoun.dat of the
// work area (record 2 the current entity, record 3 its slot): a label and
// a value, as every counter file of the suite.
struct CountRecord {
  static constexpr std::size_t kSize = 26;

  std::string label;
  std::int16_t value = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("label", r.label, 24);
    f.int16("value", r.value);
  }
  static CountRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<CountRecord>(bytes);
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

// Ent.dat record n: the data manager reads only the two name lines and
// writes nothing; the rest of the record is kept as bytes.
struct EntityNameRecord {
  static constexpr std::size_t kSize = 306;

  std::string name;
  std::string secondNameLine;
  std::array<std::byte, 242> rest{};

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("name", r.name, 32);
    f.text("second_name_line", r.secondNameLine, 32);
    f.bytes("rest", r.rest);
  }
  static EntityNameRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<EntityNameRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// ScrLoc.Dat record code + 1: where window code was last shown, in twips.
// The same file and layout as the main program's window positions.
struct PositionRecord {
  static constexpr std::size_t kSize = 8;

  float top = 0;
  float left = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.float32("top", r.top);
    f.float32("left", r.left);
  }
  static PositionRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<PositionRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// The suite's Oper.dat, record number = operator number: only the access
// level at offset 62 means something here.
struct OperatorLevelRecord {
  static constexpr std::size_t kSize = 88;
  static constexpr std::int16_t kRestrictedLevel = 99;

  std::array<std::byte, 62> before{};
  std::int16_t level = 0;
  std::array<std::byte, 24> after{};

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.bytes("before", r.before);
    f.int16("level", r.level);
    f.bytes("after", r.after);
  }
  static OperatorLevelRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<OperatorLevelRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// The suite's OpP-OOOO.dat: one 16-bit value a record. Record 402 is 1 for
// extended rights; records 601 to 700 list the slots the operator stored.
struct ProfileValueRecord {
  static constexpr std::size_t kSize = 2;

  std::int16_t value = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.int16("value", r.value);
  }
  static ProfileValueRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<ProfileValueRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

static_assert(fieldsSize<StoredEntityRecord>() == StoredEntityRecord::kSize);
static_assert(fieldsSize<CountRecord>() == CountRecord::kSize);
static_assert(fieldsSize<FolderRecord>() == FolderRecord::kSize);
static_assert(fieldsSize<MailSettingsRecord>() == MailSettingsRecord::kSize);
static_assert(fieldsSize<EntityNameRecord>() == EntityNameRecord::kSize);
static_assert(fieldsSize<PositionRecord>() == PositionRecord::kSize);
static_assert(fieldsSize<OperatorLevelRecord>() == OperatorLevelRecord::kSize);
static_assert(fieldsSize<ProfileValueRecord>() == ProfileValueRecord::kSize);

}  // namespace lum
