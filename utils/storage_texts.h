#pragma once

// The texts and bounds Storage's files share: storing away
// (storage.cpp) and bringing back (storage_restore.cpp).

#include <cstdint>
#include <limits>

namespace lum::storage_texts {

inline constexpr int kNameWidth = 20;
inline constexpr int kFirstSlotRecord = 601;
inline constexpr int kLastSlotRecord = 700;
inline constexpr int kCurrentEntityRecord = 2;
inline constexpr int kSlotRecord = 3;
inline constexpr int kMaxSlots = std::numeric_limits<std::int16_t>::max();

inline constexpr const char* kNoArchive = "Selected files do not exit!";
inline constexpr const char* kNothingToStore = "There are no data files in the work area to store.";
inline constexpr const char* kNothingChanged = "Nothing was changed.";
inline constexpr const char* kPutBackLater =
    "Its files will be put back as they were when the work area is next opened.";
inline constexpr const char* kNothingBroughtBack =
    "Nothing was brought back; the work area was not changed.";
inline constexpr const char* kUnreadableList = "The stored entities list cannot be read: ";
inline constexpr const char* kClearQuestion =
    "Do you want to clear the existing data in the work space?";
inline constexpr const char* kEraseQuestion =
    "The live cash book data in the hard disk will be erased.  Are you sure?";

inline constexpr const char* kAnalysisLists[] = {"Anljnl", "Anlpch", "Anspay", "Anstak"};
inline constexpr const char* kEntityFiles[] = {"An*.dat",   "Ax*.dat",   "D*.dat",      "A*.dat",
                                               "G*.dat",    "Bdg-*.dat", "Entcoun.dat", "Ent.dat",
                                               "Ini-*.dat", "Lcn-*.dat", "Jnl-*.dat"};

}  // namespace lum::storage_texts
