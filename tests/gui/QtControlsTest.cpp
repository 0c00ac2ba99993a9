// The window's text view and list boxes against what the program relies on.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>
#include <QtTest>
#include <random>

#include "GuiTestSupport.h"
#include "controls/CMyRECtrl.h"
#include "controls/HeadlessListBox.h"
#include "controls/ListBox.h"
#include "gui/CMyListBox.h"
#include "gui/QtRichEdit.h"

using brisna::CharRange;
using brisna::guitest::G;

class QtControlsTest : public QObject {
    Q_OBJECT
  private slots:
    void textComesBackByteForByte();
    void linesAreParagraphsWhateverTheWidth();
    void selectionAndLineOfCaret();
    void findTextFoldsOnlyLatinLetters();
    void highlightFormatsOnlyTheSelectionAndGoesWithTheText();
    void cachedTextFollowsEditsButNotFormats();
    void replaceSelectionInsertsParagraphs();
    void scrollingByLines();

    void listFollowsThePlatformCaretRules();
    void listKeepsGbkTitlesAndItemData();
    void operationsDoNotNotifyButClicksDo();
    void rightButtonMenuSendsMessagesWithoutSelecting();
    void rowTextsAreNumbered();
    void flaggedAndSelectedRowsAreDrawnInTheirColours();
    void problemListTakesAMillionEntries();
    void selectionsAndHighlightsOfACommandShowWhenItEnds();
    void textKeepsDroppedFileNamesOut();
};

void QtControlsTest::textComesBackByteForByte() {
    brisna::QtRichEdit view;
    // Garbled bytes (a lone lead byte, a lead byte with a bad trail, 0x80, 0xFF) must survive.
    const std::string garbled = G("甲") + "\x81" + " " + "\x80\xFF" + G("乙");
    view.SetText(garbled + "\r\n\r\n" + G("丙") + "\n" + G("丁") + "\r" + "x");
    const std::string expected = garbled + "\r\n\r\n" + G("丙") + "\r\n" + G("丁") + "\r\nx";
    QCOMPARE(view.GetText(), expected);
    QCOMPARE(view.GetTextLength(), static_cast<int32_t>(expected.size()));
    QCOMPARE(view.GetLineCount(), 5);
    // 甲, 0x81, space, 0x80, 0xFF, 乙: 6 characters, then a mark per paragraph.
    QCOMPARE(view.GetCharCount(), 6 + 1 + 1 + 2 + 2 + 1);
    QCOMPARE(view.GetLine(0), garbled + "\r");
    QCOMPARE(view.GetLine(1), std::string("\r"));
    QCOMPARE(view.GetLine(4), std::string("x"));
    QCOMPARE(view.GetLine(5), std::string());
    QCOMPARE(view.LineIndex(2), 8);
    QCOMPARE(view.LineIndex(5), -1);

    // The text ends at its first NUL, as a C string would.
    view.SetText(std::string("ab\0cd", 5));
    QCOMPARE(view.GetText(), std::string("ab"));
    view.SetText("");
    QCOMPARE(view.GetLineCount(), 1);
    QCOMPARE(view.GetCharCount(), 0);
    QCOMPARE(view.GetText(), std::string());
}

void QtControlsTest::linesAreParagraphsWhateverTheWidth() {
    brisna::QtRichEdit view;
    view.resize(60, 200);  // far too narrow for a line: the view wraps, the lines stay paragraphs
    view.show();
    brisna::CMyRECtrl control(view);
    view.SetText(G("甲\r\n\r\n乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙\r\n丙"));
    control.RebuildLineTable();
    QCOMPARE(control.LineStarts(), (std::vector<uint32_t>{0, 4, 6, 40}));
    QCOMPARE(control.LineTexts().back(), G("丙"));
    view.resize(600, 200);
    control.RebuildLineTable();
    QCOMPARE(control.LineStarts(), (std::vector<uint32_t>{0, 4, 6, 40}));

    view.SetText(G("甲\r\n"));
    control.RebuildLineTable();
    QCOMPARE(control.LineStarts(), (std::vector<uint32_t>{0, 4}));
}

void QtControlsTest::selectionAndLineOfCaret() {
    brisna::QtRichEdit view;
    view.SetText(G("甲乙\r\n丙丁\r\n戊"));
    QCOMPARE(view.GetSelection(), (CharRange{0, 0}));
    view.SetSelection({4, 5});
    QCOMPARE(view.GetSelection(), (CharRange{4, 5}));
    QCOMPARE(view.LineFromChar(-1), 1);
    QCOMPARE(view.LineIndex(-1), 3);
    view.SetSelection({7, 2});  // reversed ranges are put in order
    QCOMPARE(view.GetSelection(), (CharRange{2, 7}));
    view.SetSelection({5, -1});
    QCOMPARE(view.GetSelection(), (CharRange{5, 7}));
    view.SetSelection({-5, 100});
    QCOMPARE(view.GetSelection(), (CharRange{0, 7}));
    QCOMPARE(view.LineFromChar(6), 2);
    QCOMPARE(view.LineFromChar(1000), 2);
    QCOMPARE(view.LineFromChar(2), 0);  // the paragraph mark belongs to its line
}

void QtControlsTest::findTextFoldsOnlyLatinLetters() {
    brisna::QtRichEdit view;
    view.SetText(G("第一章 Hello\r\n第二章 ＡＢ ab\r\n尾"));
    QCOMPARE(view.FindText({0, -1}, "hELLO"), (CharRange{4, 9}));
    QCOMPARE(view.FindText({5, -1}, "hello"), (CharRange{-1, -1}));
    // Full-width letters are other characters, not another case.
    QCOMPARE(view.FindText({0, -1}, G("ａｂ")), (CharRange{-1, -1}));
    QCOMPARE(view.FindText({0, -1}, "AB"), (CharRange{17, 19}));
    // A CR LF in the searched text matches a paragraph mark.
    QCOMPARE(view.FindText({0, -1}, G("Hello\r\n第二")), (CharRange{4, 12}));
    // The match must end inside the range.
    QCOMPARE(view.FindText({0, 18}, "ab"), (CharRange{-1, -1}));
    QCOMPARE(view.FindText({0, 19}, "ab"), (CharRange{17, 19}));
    QCOMPARE(view.FindText({0, -1}, ""), (CharRange{-1, -1}));
    QCOMPARE(view.FindText({100, -1}, "a"), (CharRange{-1, -1}));
}

void QtControlsTest::highlightFormatsOnlyTheSelectionAndGoesWithTheText() {
    brisna::QtRichEdit view;
    view.SetText(G("甲乙丙丁"));
    view.SetSelection({1, 3});
    view.ApplyHighlightToSelection();
    auto formatAt = [&](int position) {
        QTextCursor cursor(view.document());
        cursor.setPosition(position + 1);  // the format of the character before the cursor
        return cursor.charFormat();
    };
    QCOMPARE(formatAt(1).fontWeight(), static_cast<int>(QFont::Bold));
    QCOMPARE(formatAt(1).foreground().color(), QColor(255, 0, 0));
    QCOMPARE(formatAt(2).background().color(), QColor(255, 255, 0));
    QVERIFY(formatAt(0).fontWeight() != QFont::Bold);
    QVERIFY(formatAt(3).background().style() == Qt::NoBrush);
    QCOMPARE(view.GetText(), G("甲乙丙丁"));

    // With the caret still inside the highlight, new text must not inherit it.
    view.SetSelection({2, 2});
    view.SetText(G("戊己"));
    QVERIFY(formatAt(0).fontWeight() != QFont::Bold);
    QVERIFY(formatAt(1).background().style() == Qt::NoBrush);
}

void QtControlsTest::cachedTextFollowsEditsButNotFormats() {
    brisna::QtRichEdit view;
    view.SetText(G("甲乙\r\n丙"));
    QCOMPARE(view.GetText(), G("甲乙\r\n丙"));
    const uint64_t generation = view.TextGeneration();
    view.SetSelection({0, 2});
    view.ApplyHighlightToSelection();
    QCOMPARE(view.TextGeneration(), generation);
    // The operator types: the next fetch sees it.
    view.show();
    view.SetSelection({3, 3});
    QTest::keyClicks(&view, QStringLiteral("xy"));
    QVERIFY(view.TextGeneration() != generation);
    QCOMPARE(view.GetText(), G("甲乙\r\nxy丙"));
    QCOMPARE(view.FindText({0, -1}, "Y"), (CharRange{4, 5}));
    // Return, with or without Shift, starts a paragraph: CR LF in the text.
    QTest::keyClick(&view, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(view.GetText(), G("甲乙\r\nxy\r\n\r\n丙"));
}

void QtControlsTest::replaceSelectionInsertsParagraphs() {
    brisna::QtRichEdit view;
    view.SetText(G("甲乙丙"));
    view.SetSelection({1, 2});
    view.ReplaceSelection(G("子\r\n丑"));
    QCOMPARE(view.GetText(), G("甲子\r\n丑丙"));
    QCOMPARE(view.GetSelection(), (CharRange{4, 4}));
    QCOMPARE(view.GetLineCount(), 2);
    QVERIFY(!view.document()->isUndoAvailable());

    // Replacing the whole text after its highlighted last word leaves no highlight behind.
    view.SetSelection({4, 5});
    view.ApplyHighlightToSelection();
    view.SetSelection({0, -1});
    view.ReplaceSelection(G("寅卯辰巳"));
    for (int position = 1; position <= 4; ++position) {
        QTextCursor cursor(view.document());
        cursor.setPosition(position);
        QVERIFY(cursor.charFormat().background().style() == Qt::NoBrush);
    }
}

void QtControlsTest::scrollingByLines() {
    brisna::QtRichEdit view;
    view.resize(400, 200);
    view.show();
    std::string text;
    for (int i = 0; i < 200; ++i) text += G("第") + std::to_string(i) + "\r\n";
    view.SetText(text);
    QCOMPARE(view.GetFirstVisibleLine(), 0);
    view.ScrollLines(50);
    QCOMPARE(view.GetFirstVisibleLine(), 50);
    view.ScrollLines(-20);
    QCOMPARE(view.GetFirstVisibleLine(), 30);
    view.ScrollLines(-1000);
    QCOMPARE(view.GetFirstVisibleLine(), 0);
    // Selecting far down brings the selection into view.
    view.SetSelection({view.LineIndex(150), view.LineIndex(150)});
    QVERIFY(view.GetFirstVisibleLine() > 100);
    QVERIFY(view.GetFirstVisibleLine() <= 150);
}

// The window's list and the headless one must agree after any sequence of operations.
void QtControlsTest::listFollowsThePlatformCaretRules() {
    brisna::QtListBox list;
    brisna::HeadlessListBox reference;
    std::mt19937 random(7);
    for (int step = 0; step < 2000; ++step) {
        const int count = reference.GetCount();
        const int index = static_cast<int>(random() % static_cast<unsigned>(count + 3)) - 1;
        switch (random() % 5) {
            case 0:
                QCOMPARE(list.AddString("a"), reference.AddString("a"));
                break;
            case 1:
                QCOMPARE(list.InsertString(index, "b"), reference.InsertString(index, "b"));
                break;
            case 2:
            case 3: {
                const bool select = random() % 3 != 0;
                list.SetSel(select, index);
                reference.SetSel(select, index);
                break;
            }
            case 4:
                if (count > 0) QCOMPARE(list.DeleteString(index), reference.DeleteString(index));
                break;
        }
        QCOMPARE(list.GetCount(), reference.GetCount());
        QCOMPARE(list.GetCaretIndex(), reference.GetCaretIndex());
        QCOMPARE(list.GetSelItems(), reference.GetSelItems());
        QCOMPARE(list.GetSelCount(), reference.GetSelCount());
        if (list.GetCount() > 0) QCOMPARE(list.currentIndex().row(), list.GetCaretIndex());
    }
}

void QtControlsTest::listKeepsGbkTitlesAndItemData() {
    brisna::CMyListBox list;
    const std::string garbled = G("第一章") + "\x81" + "!";
    list.AddString(garbled);
    QCOMPARE(list.GetText(0), garbled);
    QVERIFY(list.RowIndex(0).data().toString().startsWith(QStringLiteral("第一章")));
    QCOMPARE(list.GetText(1), std::string());
    QCOMPARE(list.GetItemData(0), intptr_t{0});
    list.SetItemData(0, 1);
    list.SetItemData(5, 1);  // out of range: nothing happens
    QCOMPARE(list.GetItemData(0), intptr_t{1});
    QCOMPARE(list.GetItemData(5), intptr_t{0});
    QCOMPARE(list.InsertString(3, "x"), -1);
    QCOMPARE(list.DeleteString(3), -1);
    // An item added with its data has it already when the view learns of the row, so a list
    // that shows some kinds only can decide on the row as it arrives.
    intptr_t seenOnArrival = -1;
    QObject::connect(
        list.model(), &QAbstractItemModel::rowsInserted, &list,
        [&](const QModelIndex&, int first, int) { seenOnArrival = list.GetItemData(first); });
    QCOMPARE(list.AddItem(G("乱码"), 3), 1);
    QCOMPARE(seenOnArrival, intptr_t{3});
    QCOMPARE(list.GetItemData(1), intptr_t{3});
    QCOMPARE(list.GetCaretIndex(), 0);
}

void QtControlsTest::operationsDoNotNotifyButClicksDo() {
    brisna::QtListBox list;
    int changes = 0;
    int doubleClicks = 0;
    list.onSelectionChange = [&] { ++changes; };
    list.onDoubleClick = [&] { ++doubleClicks; };
    list.resize(200, 200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    for (const char* text : {"a", "b", "c"}) list.AddString(text);
    list.SetSel(true, 1);
    list.SetSel(true, -1);
    list.DeleteString(0);
    QCOMPARE(changes, 0);

    list.SetSel(false, -1);
    const QPoint row1 = list.visualRect(list.RowIndex(1)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row1);
    QCOMPARE(changes, 1);
    QCOMPARE(list.GetSelItems(), std::vector<int32_t>{1});
    QCOMPARE(list.GetCaretIndex(), 1);
    // Clicking the selected row again still reports, as the platform does.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row1);
    QCOMPARE(changes, 2);
    QTest::keyClick(list.viewport(), Qt::Key_Up);
    QCOMPARE(changes, 3);
    QCOMPARE(list.GetCaretIndex(), 0);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, row1);
    QCOMPARE(doubleClicks, 1);
}

void QtControlsTest::rightButtonMenuSendsMessagesWithoutSelecting() {
    brisna::CMyListBox list;
    std::vector<uint32_t> messages;
    list.onUserMessage = [&](uint32_t message) {
        messages.push_back(message);
        // The command runs inside the menu's handling, on the rows chosen before the click.
        QCOMPARE(list.GetSelItems(), std::vector<int32_t>{0});
    };
    int changes = 0;
    list.onSelectionChange = [&] { ++changes; };
    list.resize(200, 200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.AddString("a");
    list.AddString("b");
    list.SetSel(true, 0);

    const QPoint row1 = list.visualRect(list.RowIndex(1)).center();
    const QStringList expected{QStringLiteral("上移"), QStringLiteral("下移"),
                               QStringLiteral("删除"), QStringLiteral("全部删除")};
    QStringList texts;
    for (QAction* action : list.ContextMenu()->actions()) texts << action->text();
    QCOMPARE(texts, expected);

    // A real right click over row 1: the menu opens; choose "全部删除".
    bool opened = false;
    brisna::guitest::AnswerNextModal([&](QWidget* popup) {
        auto* menu = qobject_cast<QMenu*>(popup);
        if (menu == nullptr) return;
        opened = true;
        menu->actions().at(3)->trigger();
        menu->close();
    });
    QTest::mousePress(list.viewport(), Qt::RightButton, {}, row1);
    QContextMenuEvent event(QContextMenuEvent::Mouse, row1, list.viewport()->mapToGlobal(row1));
    QApplication::sendEvent(list.viewport(), &event);
    QTest::mouseRelease(list.viewport(), Qt::RightButton, {}, row1);
    QVERIFY(opened);
    QCOMPARE(messages, std::vector<uint32_t>{0x1404});
    QCOMPARE(list.GetSelItems(), std::vector<int32_t>{0});
    QCOMPARE(list.GetCaretIndex(), 0);
    QCOMPARE(changes, 0);

    for (int i = 0; i < 3; ++i) list.ContextMenu()->actions().at(i)->trigger();
    QCOMPARE(messages, (std::vector<uint32_t>{0x1404, 0x1401, 0x1402, 0x1403}));
}

void QtControlsTest::rowTextsAreNumbered() {
    QCOMPARE(brisna::ChapterRowText(0, QStringLiteral("第一章")), QStringLiteral("01. 第一章"));
    QCOMPARE(brisna::ChapterRowText(9, QStringLiteral("x")), QStringLiteral("10. x"));
    QCOMPARE(brisna::ChapterRowText(99, QString()), QStringLiteral("100. "));
}

void QtControlsTest::flaggedAndSelectedRowsAreDrawnInTheirColours() {
    brisna::CMyListBox list;
    list.resize(240, 200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    for (const char* title : {"第一章", "第二章", "第三章", "第四章"}) list.AddString(G(title));
    list.SetItemData(1, 1);  // flagged
    list.SetItemData(2, 1);  // flagged and selected
    list.SetSel(true, 2);
    list.SetSel(true, 3);  // selected
    list.SetSel(false, 0);
    const QImage image = list.viewport()->grab().toImage();
    auto row = [&](int i) { return image.copy(list.visualRect(list.RowIndex(i))); };
    const QColor yellow(255, 255, 0), blue(192, 192, 255), red(255, 0, 0);

    QVERIFY(!brisna::guitest::HasColour(row(0), red, 60));
    QVERIFY(!brisna::guitest::HasColour(row(0), yellow, 10));
    QVERIFY(brisna::guitest::HasColour(row(0), Qt::black, 90));  // ordinary text

    QCOMPARE(row(1).pixelColor(1, 1), yellow);
    QVERIFY(brisna::guitest::HasColour(row(1), red, 40));

    QCOMPARE(row(2).pixelColor(1, 1), blue);
    QVERIFY(brisna::guitest::HasColour(row(2), red, 40));

    QCOMPARE(row(3).pixelColor(1, 1), blue);
    QVERIFY(!brisna::guitest::HasColour(row(3), red, 60));
}

// A million findings fill, show, select and empty the list in a usable time; rows are made
// into text only when painted, so the bytes stay exactly what was given.
void QtControlsTest::problemListTakesAMillionEntries() {
    brisna::QtListBox list;
    list.resize(300, 400);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QElapsedTimer timer;
    timer.start();
    const std::string garbled = G("第12行乱码：") + "\x81\x20" + G("！");
    for (int i = 0; i < 1'000'000; ++i) list.AddString(i == 999'999 ? garbled : "x");
    QApplication::processEvents();
    list.viewport()->repaint();
    QCOMPARE(list.GetCount(), 1'000'000);
    QCOMPARE(list.GetCaretIndex(), 0);
    list.SetSel(true, 999'999);
    list.scrollTo(list.RowIndex(999'999));
    list.viewport()->repaint();
    QCOMPARE(list.GetSelItems(), std::vector<int32_t>{999'999});
    QCOMPARE(list.GetText(999'999), garbled);
    brisna::DeleteAllItems(list);
    QCOMPARE(list.GetCount(), 0);
    QCOMPARE(list.GetCaretIndex(), -1);
    qInfo("a million entries filled, shown and emptied in %lld ms", timer.elapsed());
}

// Inside a command the program still reads back what it selected, but the view shows the
// selection and the highlights only at the end (or before a message box); a replacement in
// between lands where the kept selection says, after the highlights asked for before it.
void QtControlsTest::selectionsAndHighlightsOfACommandShowWhenItEnds() {
    brisna::QtRichEdit view;
    view.SetText(G("甲乙丙\r\n丁戊"));
    const uint64_t generation = view.TextGeneration();
    const auto bold = [&](int position) {
        QTextCursor at(view.document());
        at.setPosition(position + 1);
        return at.charFormat().fontWeight() == QFont::Bold;
    };
    view.BeginCommand();
    view.SetSelection({1, 2});
    view.ApplyHighlightToSelection();
    view.SetSelection({4, 6});
    QCOMPARE(view.GetSelection(), (brisna::CharRange{4, 6}));
    QCOMPARE(view.LineFromChar(-1), 1);
    QCOMPARE(view.textCursor().position(), 0);  // the view has not moved yet
    QVERIFY(!bold(1));
    view.ReplaceSelection(G("己"));
    QVERIFY(bold(1));  // applied before the text changed under it
    view.SetSelection({0, 1});
    view.ApplyHighlightToSelection();
    view.EndCommand();
    QCOMPARE(view.GetText(), G("甲乙丙\r\n己"));
    QVERIFY(bold(0) && bold(1) && !bold(2));
    QCOMPARE(view.textCursor().selectionStart(), 0);
    QCOMPARE(view.textCursor().selectionEnd(), 1);
    QVERIFY(view.TextGeneration() != generation);  // the replacement counts, the formats not
    const uint64_t afterEdit = view.TextGeneration();
    view.BeginCommand();
    view.SetSelection({2, 3});
    view.ApplyHighlightToSelection();
    view.EndCommand();
    QCOMPARE(view.TextGeneration(), afterEdit);
}

// A file dragged onto the text or pasted as a file never becomes book text; plain text still
// drops in.
void QtControlsTest::textKeepsDroppedFileNamesOut() {
    brisna::QtRichEdit view;
    view.resize(300, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.SetText(G("甲"));
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/book.txt"))});
    file.setText(QStringLiteral("file:///tmp/book.txt"));
    QDragEnterEvent enter({5, 5}, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &enter);
    QVERIFY(!enter.isAccepted());
    QDropEvent drop({5, 5}, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &drop);
    auto* copied = new QMimeData;
    copied->setUrls(file.urls());
    copied->setText(file.text());
    QApplication::clipboard()->setMimeData(copied);
    view.paste();
    QCOMPARE(view.GetText(), G("甲"));

    QMimeData words;
    words.setText(QStringLiteral("乙"));
    QDragEnterEvent wordsEnter({5, 5}, Qt::CopyAction, &words, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &wordsEnter);
    QDropEvent wordsDrop({5, 5}, Qt::CopyAction, &words, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &wordsDrop);
    QVERIFY(view.GetText().find(G("乙")) != std::string::npos);
}

QTEST_MAIN(QtControlsTest)
#include "QtControlsTest.moc"
