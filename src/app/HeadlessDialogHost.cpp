#include "app/HeadlessDialogHost.h"

#include "Capacities.h"
#include "text/CodePage936.h"

namespace brisna {

void HeadlessDialogHost::ShowMessage(std::string_view gbkText, MessageCaption caption) {
    messages_.push_back(ShownMessage{std::string(gbkText), caption, {}, {}});
    if (onMessage) onMessage(messages_.back());
}

void HeadlessDialogHost::ShowFileMessage(std::string_view gbkText, MessageCaption caption,
                                         std::string_view path, std::string_view reason) {
    messages_.push_back(
        ShownMessage{std::string(gbkText), caption, std::string(path), std::string(reason)});
    if (onMessage) onMessage(messages_.back());
}

std::optional<std::string> HeadlessDialogHost::ChooseFileToOpen(FileFilter filter) {
    askedFilters_.push_back(filter);
    if (fileChoices_.empty()) return std::nullopt;
    std::optional<std::string> choice = std::move(fileChoices_.front());
    fileChoices_.pop_front();
    return choice;
}

std::string HeadlessDialogHost::GetFieldText(int fieldId) {
    auto found = fields_.find(fieldId);
    if (found == fields_.end()) return {};
    const std::string& text = found->second;
    // The field is read into a 60-byte buffer: at most 59 bytes, never half a character.
    size_t end = 0;
    while (end < text.size()) {
        size_t step =
            IsGbkLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + step > kEditFieldBufferBytes - 1) break;
        end += step;
    }
    return text.substr(0, end);
}

}  // namespace brisna
