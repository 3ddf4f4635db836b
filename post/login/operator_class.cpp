#include "post/login/operator_class.h"

#include "post/login/login_records.h"

namespace lum {
namespace {

constexpr int kExtendedRightsRecord = 402;
constexpr int kFirstPeekRecord = 501;
constexpr int kLastPeekRecord = 600;

// The operator's profile, opened read-only; nothing when there is none.
RecordFile* openProfile(FileRegistry& registry, const FileNaming& naming) {
  if (registry.isOpen("OperProf")) {
    return &registry.file("OperProf");
  }
  const RegistryEntry& entry = *findRegistryEntry("OperProf");
  if (!registry.exists(registry.dosName(entry, naming))) {
    return nullptr;
  }
  return registry.open("OperProf", naming, RecordFile::Access::ReadOnly);
}

}  // namespace

char readOperatorClass(FileRegistry& registry, const FileNaming& naming, int operatorNumber) {
  RecordFile* oper = registry.open("Oper", naming, RecordFile::Access::ReadOnly);
  const auto record = oper->get<OperatorRecord>(operatorNumber);
  registry.close("Oper");
  if (record.kind != OperatorRecord::kRestrictedKind) {
    return 'N';
  }
  RecordFile* profile = openProfile(registry, naming);
  if (profile != nullptr && profile->get<OperatorProfileRecord>(kExtendedRightsRecord).value == 1) {
    return 'A';
  }
  return 'Y';
}

bool profileAllowsPeek(FileRegistry& registry, const FileNaming& naming, int target) {
  RecordFile* profile = openProfile(registry, naming);
  if (profile == nullptr) {
    return false;
  }
  for (int record = kFirstPeekRecord; record <= kLastPeekRecord; ++record) {
    if (profile->get<OperatorProfileRecord>(record).value == target) {
      return true;
    }
  }
  return false;
}

}  // namespace lum
