#include "post/render/page_files.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/text.h"

namespace lum {
namespace {

// A stored record number; 0 for anything that cannot be one.
std::int64_t recordNumberOf(float value) {
  if (!std::isfinite(value) || value < 0 || value > 16777216.0f) {
    return 0;
  }
  return static_cast<std::int64_t>(std::lround(value));
}

// Cut to the 140 characters of a text record, never inside a character.
std::string textRecordText(std::string_view text) {
  // A character the page files cannot hold becomes "?": a report never
  // fails on a name.
  return leftCharacters(storableInCp1252(text), PageTextRecord::kSize);
}

}  // namespace

std::string_view StoredPage::textOf(const Command& command) const {
  if (command.text < 1 || command.text > texts.size()) {
    return {};
  }
  return trimRight(texts[command.text - 1]);
}

void PageFiles::attach(RecordFile* commands, RecordFile* texts) {
  flush();
  mCommands = commands;
  mTexts = texts;
}

void PageFiles::detach() {
  mHeldCommands.bytes.clear();
  mHeldTexts.bytes.clear();
  mCommands = nullptr;
  mTexts = nullptr;
}

void PageFiles::restart() {
  flush();
  mCommandCounter = kHeaderRecords;
  mTextCounter = 0;
}

void PageFiles::flush() {
  writeHeld(mHeldCommands, mCommands);
  writeHeld(mHeldTexts, mTexts);
}

void PageFiles::hold(HeldRecords& held, RecordFile& file, std::int64_t number,
                     const std::vector<std::byte>& bytes) {
  constexpr std::size_t kMostHeld = 256 * 1024;
  const auto heldCount = static_cast<std::int64_t>(held.bytes.size() / bytes.size());
  if (!held.bytes.empty() && (number != held.first + heldCount || held.bytes.size() >= kMostHeld)) {
    writeHeld(held, &file);
  }
  if (held.bytes.empty()) {
    held.first = number;
  }
  held.bytes.insert(held.bytes.end(), bytes.begin(), bytes.end());
}

void PageFiles::writeHeld(HeldRecords& held, RecordFile* file) {
  if (file != nullptr && !held.bytes.empty()) {
    file->writeRecords(held.first, held.bytes);
  }
  held.bytes.clear();
}

void PageFiles::put(char field, float value) {
  switch (field) {
    case 'A':
      mBuffer.a = value;
      break;
    case 'B':
      mBuffer.b = value;
      break;
    case 'D':
      mBuffer.d = value;
      break;
    case 'E':
      mBuffer.e = value;
      break;
    default:
      break;
  }
}

void PageFiles::put(char field, int value) {
  if (field == 'C') {
    put(field, Currency::fromRaw(static_cast<std::int64_t>(value) * Currency::kScale));
  } else {
    put(field, static_cast<float>(value));
  }
}

void PageFiles::put(char field, Currency value) {
  if (field == 'C') {
    mBuffer.c = value;
  }
}

void PageFiles::put(char field, std::string_view text) {
  if (field != 'T') {
    return;
  }
  ++mTextCounter;
  mBuffer.a = static_cast<float>(mTextCounter);
  hold(mHeldTexts, *mTexts, mTextCounter, PageTextRecord{textRecordText(text)}.encode());
}

void PageFiles::beginPageHeader(int page) {
  auto header = mCommands->get<PageCommandRecord>(page);
  header.code = std::string(kPageHeaderCode);
  header.a = header.b = static_cast<float>(mCommandCounter);
  mCommands->put(page, header);
}

void PageFiles::endPageHeader(int page) {
  auto header = mCommands->get<PageCommandRecord>(page);
  header.b = static_cast<float>(mCommandCounter);
  mCommands->put(page, header);
}

void PageFiles::endReportHeader(int pageAfterLast) {
  auto header = mCommands->get<PageCommandRecord>(pageAfterLast);
  header.code = std::string(pageCommand(PageCommand::EndReport).code);
  header.a = header.b = 0;
  mCommands->put(pageAfterLast, header);
}

int PageFiles::storedPageCount() const {
  if (mCommands == nullptr) {
    return 0;
  }
  for (int page = 1; page <= kHeaderRecords; ++page) {
    const auto header = mCommands->get<PageCommandRecord>(page);
    if (trim(header.code) != kPageHeaderCode) {
      return std::min(page - 1, kMaxPages);
    }
  }
  return kMaxPages;
}

std::optional<StoredPage> PageFiles::load(int page) {
  flush();
  if (page < 1 || page > kHeaderRecords || mCommands == nullptr) {
    return std::nullopt;
  }
  StoredPage out;
  const auto header = mCommands->get<PageCommandRecord>(page);
  const std::int64_t first = recordNumberOf(header.a);
  const std::int64_t last = recordNumberOf(header.b);
  if (first < 1) {
    return out;
  }
  const std::int64_t commandCount = mCommands->recordCount();
  const std::int64_t textCount = mTexts != nullptr ? mTexts->recordCount() : 0;
  out.commands.reserve(static_cast<std::size_t>(std::min<std::int64_t>(
      kMostCommandsAPage, std::max<std::int64_t>(0, std::min(last, commandCount) - first + 1))));
  RecordBlockReader commands(*mCommands);
  std::optional<RecordBlockReader> texts;
  if (mTexts != nullptr) {
    texts.emplace(*mTexts);
  }
  for (std::int64_t r = first; r <= last; ++r) {
    if (r > commandCount) {
      out.fault = "its commands go past the end of DosyaYaz.dat";
      break;
    }
    if (static_cast<int>(out.commands.size()) == kMostCommandsAPage) {
      out.fault = fmt::format("it has more than {} commands", kMostCommandsAPage);
      break;
    }
    StoredPage::Command command{commands.get<PageCommandRecord>(r)};
    command.entry = findPageCommand(trim(command.record.code));
    if (command.entry != nullptr && command.entry->carriesText() && command.record.a > 0) {
      const std::int64_t textNumber = recordNumberOf(command.record.a);
      std::string text;
      if (textNumber >= 1 && textNumber <= textCount) {
        text = texts->get<PageTextRecord>(textNumber).text;
      } else if (out.fault.empty()) {
        out.fault = fmt::format("text {} is not in Kelamlar.dat", textNumber);
      }
      out.texts.push_back(std::move(text));
      command.text = out.texts.size();
    }
    out.commands.push_back(std::move(command));
  }
  return out;
}

}  // namespace lum
