#pragma once
// The names of the parts of a book: each part is generated under a source path of its own
// beside the book, and that path names the part's files.

#include <string>
#include <string_view>

namespace brisna {

// The book source path of part `number` of `partCount`: "<base>(k).txt" beside the book, with k
// written with as many digits as the last part's number so the names sort in reading order, and
// the base shortened on a character boundary until the file name fits the 34-byte rule. Empty
// when no base is short enough.
std::string PartSourcePath(std::string_view bookSourcePath, int number, int partCount);

}  // namespace brisna
