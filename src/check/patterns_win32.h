// The pattern table's start-up load and clean-up save over the process-wide settings store.
#pragma once

#include "check/pattern_table.h"

namespace zv::win {

// Whether the memo-pad program's executable is where the registry says.
bool NotavoInstalled();

// Fills `settings` from the loaded store (defaults when none is loaded).
void LoadPatterns(PatternSettings& settings);

// Writes `settings` into the store, saves the file and empties the table. False when the file
// could not be written; the old file then stays as it was.
bool SavePatterns(PatternSettings& settings);

}  // namespace zv::win
