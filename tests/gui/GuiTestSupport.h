#pragma once
// Helpers for the window tests: GBK literals, answering modal dialogs and popup menus while they
// are open, and book texts.

#include <QImage>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

class QWidget;

namespace brisna::guitest {

// GBK bytes of a UTF-8 literal.
std::string G(std::string_view utf8);

// Runs `answer` on the next modal dialog or popup menu that opens (polled from the event loop),
// so a test can press a button that opens one. Gives up after timeoutMs.
void AnswerNextModal(std::function<void(QWidget*)> answer, int timeoutMs = 5000);

// A GBK book of roughly `bytes` bytes: numbered chapters of Chinese paragraphs, CR LF lines.
std::string MakeBook(size_t bytes, int chapters);

// Whether the image holds a pixel close to the colour (each channel within the tolerance).
bool HasColour(const QImage& image, QColor colour, int tolerance = 24);

}  // namespace brisna::guitest
