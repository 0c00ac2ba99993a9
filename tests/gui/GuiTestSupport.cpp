#include "GuiTestSupport.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "detect/ChineseNumerals.h"
#include "text/CodePage936.h"

namespace brisna::guitest {

std::string G(std::string_view utf8) {
    return Utf8ToGbk(utf8);
}

void AnswerNextModal(std::function<void(QWidget*)> answer, int timeoutMs) {
    auto* timer = new QTimer(qApp);
    auto started = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer, started, timeoutMs] {
        QWidget* open = QApplication::activePopupWidget();
        if (open == nullptr) open = QApplication::activeModalWidget();
        *started += 10;
        if (open != nullptr || *started > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            if (open != nullptr) answer(open);
        }
    });
    timer->start();
}

std::string MakeBook(size_t bytes, int chapters) {
    static const char* const kSentences[] = {
        "天色渐渐暗了下来，山路上只剩下他一个人。",
        "远处的村庄亮起了灯火，炊烟在风中慢慢散开。",
        "他停下脚步，回头望了一眼来时的方向。",
        "“明天还要赶路，”老人说，“今晚就在这里歇下吧。”",
        "河水哗哗地流着，岸边的柳树在月光下轻轻摇动。",
    };
    std::string utf8;
    const size_t perChapter = bytes / static_cast<size_t>(std::max(1, chapters));
    size_t sentence = 0;
    for (int c = 0; c < chapters; ++c) {
        const std::string number =
            brisna::GbkToUtf8Lossless(brisna::RenderChineseNumber(static_cast<uint32_t>(c + 1)));
        utf8 += "第" + number + "章 山路\r\n";
        size_t start = utf8.size();
        // UTF-8 is 3 bytes per Chinese character, GBK 2: aim at 1.5 times the GBK size.
        while ((utf8.size() - start) * 2 / 3 < perChapter) {
            utf8 += "　　";
            for (int s = 0; s < 4; ++s) utf8 += kSentences[sentence++ % 5];
            utf8 += "\r\n";
        }
    }
    return G(utf8);
}

bool HasColour(const QImage& image, QColor colour, int tolerance) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= tolerance &&
                std::abs(c.green() - colour.green()) <= tolerance &&
                std::abs(c.blue() - colour.blue()) <= tolerance) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace brisna::guitest
