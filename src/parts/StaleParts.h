#pragma once
// Parts of an earlier edition. A book written again in fewer parts (or as one book) would leave
// the old edition's later parts beside the new ones, and a reader copying the folder to the
// device would get chapters of both editions.

#include <string>
#include <string_view>
#include <vector>

namespace brisna {

// The files in the parts' folder that are this program's parts of the book (named
// "<base>(k).qbr2", "<base>(k)n.qbr" ..., and holding a book of that format that reads back
// whole) but were not written by this run: parts of an earlier edition. A part beside a text of
// its own name ("<base>(k).txt") is that text's book and stays. `bookSourcePath` is the whole
// book's source path (the parts' names are made from it).
std::vector<std::string> StalePartFiles(std::string_view bookSourcePath,
                                        const std::vector<std::string>& writtenFiles);

// Removes the files; returns the ones removed.
std::vector<std::string> RemoveStalePartFiles(const std::vector<std::string>& files);

}  // namespace brisna
