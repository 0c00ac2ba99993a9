#pragma once
// File names are bytes. Most are UTF-8; names unpacked from archives made on Chinese Windows
// systems are GBK. A name is read as UTF-8 when it is valid UTF-8, else as GBK.

#include <string>
#include <string_view>

namespace brisna {

std::u16string FileNameToUtf16(std::string_view nameBytes);
std::string FileNameToGbk(std::string_view nameBytes);

}  // namespace brisna
