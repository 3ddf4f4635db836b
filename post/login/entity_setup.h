#pragma once

#include <array>
#include <string>

#include "post/login/entity_choices.h"
#include "post/login/session.h"

namespace lum {

// The set-up records of an entity, 1 to 9, by their prompts.
enum SetupRecordNumber : int {
  kPostingModeRecord = 1,
  kPeriodKindRecord = 2,
  kClientTypeRecord = 3,
  kGstRateRecord = 4,
  kPaygRateRecord = 5,
  kExemptSalesRecord = 6,
  kExemptPurchasesRecord = 7,
  kInvoicingRecord = 8,
  kGstTypeRecord = 9,
};
inline constexpr int kSetupRecords = 9;
const std::array<const char*, kSetupRecords>& setupPrompts();

// The analysis templates in the program directory, by what they hold.
inline constexpr const char* kTakingsTemplate = "Anstak.dat";
inline constexpr const char* kPaymentsTemplate = "Anspay.dat";
inline constexpr const char* kBankTemplate = "Anljnl.dat";
inline constexpr const char* kPettyCashTemplate = "Anlpch.dat";

// Builds the standard journals, analysis columns, counters and budget of
// the current entity from its set-up records. When the work area had no
// current entity before, this one becomes the current entity.
void createEntitySetUp(Session& session, bool noEntityCurrent);

// The thirteen texts of the entity details, in the order of the entity record.
using EntityTexts = std::array<std::string, 13>;

// Stores an entity's details and set-up choices, and sets up its journals
// when it has none (the OK of the entity details window). False when the
// name is blank: nothing is stored.
bool storeEntityDetails(Session& session, int entity, const EntityTexts& texts,
                        const EntityChoices& choices);

// Whether the current entity's posting mode may change from one mode to
// another: not while its journals hold rows in any period, whose amounts
// would then stand two columns off. The user is told why not.
bool mayChangePostingMode(Session& session, PostingMode from, PostingMode to);

// Writes the four choices into the current entity's set-up records.
void writeEntityChoices(Session& session, const EntityChoices& choices);
EntityChoices readEntityChoices(Session& session);

}  // namespace lum
