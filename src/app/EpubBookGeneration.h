#pragma once
// 生成qbr for a book opened from an EPUB. An EPUB's contents were made for a reader without the
// device's limits: title pages of a few bytes, chapters over 30 KB, more entries than one book
// holds. Such a book is written through the part plan, which joins what is too short to the
// chapter after it, cuts what is too long, and makes parts of what is too many.

#include <optional>

#include "parts/PartGeneration.h"
#include "parts/PartPlan.h"

namespace brisna {

class CBrisnaMakeDlg;

// The plan 生成qbr writes the book by when it was opened from an EPUB (and is still named after
// it); nothing for any other book. One part while the chapter list holds every entry of the
// contents, else the parts of the whole contents as 分册生成 makes them.
std::optional<PartPlan> PlanOpenedEpubGeneration(CBrisnaMakeDlg& dialog);

// Writes the plan; a book that becomes several parts is announced first.
PartsOutcome GenerateOpenedEpub(CBrisnaMakeDlg& dialog, const PartPlan& plan);

}  // namespace brisna
