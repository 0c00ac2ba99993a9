#pragma once
// Whole-file writes that never leave a truncated file behind.

#include <string>
#include <string_view>

namespace brisna {

// Writes bytes to a temporary file in the same folder, flushes it to disk and renames it over
// path. True on success; on failure nothing new is left behind and an existing file at path is
// unchanged.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace brisna
