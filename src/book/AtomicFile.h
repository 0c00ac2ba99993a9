#pragma once
// Whole-file writes that never leave a truncated file behind.

#include <string>
#include <string_view>

namespace brisna {

// Writes bytes to an unnamed temporary file in the target's folder (a hidden named one where the
// file system has no unnamed files), flushes it to disk and renames it over path. True on
// success; on failure nothing new is left behind, an existing file at path is unchanged and
// *error (if given) holds the system's error number.
//
// The write behaves like rewriting the file in place where it matters: a symbolic link is
// written through to the file it points to, an existing file keeps its permission bits (never
// set-user-ID, set-group-ID or sticky), and an existing file the user could not write, or a
// target that is not a regular file, is refused.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, int* error = nullptr);

// Removes the hidden temporary files that writers of this program left in folder (empty: the
// current one) when they were killed mid-write: only files of ours whose process has gone.
// Returns how many were removed.
int RemoveStaleTemporaryFiles(const std::string& folder);

// True for a name this program gives its hidden temporary files (".brisna-<pid>-<n>.tmp").
bool IsTemporaryFileName(std::string_view name);

}  // namespace brisna
