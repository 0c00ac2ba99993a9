#include "text/FileNames.h"

#include "text/CodePage936.h"
#include "text/EncodingDetection.h"

namespace brisna {

std::u16string FileNameToUtf16(std::string_view nameBytes) {
    return IsValidUtf8(nameBytes) ? Utf8ToUtf16(nameBytes) : GbkToUtf16(nameBytes);
}

std::string FileNameToGbk(std::string_view nameBytes) {
    return IsValidUtf8(nameBytes) ? Utf8ToGbk(nameBytes) : std::string(nameBytes);
}

}  // namespace brisna
