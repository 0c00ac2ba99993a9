#include "gui/QtDialogHost.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

#include "Capacities.h"
#include "gui/GuiMessages.h"
#include "text/CodePage936.h"

namespace brisna {

QString QtFilterText(FileFilter filter) {
    switch (filter) {
        case FileFilter::kText:
            return QStringLiteral("Text Files (*.txt)");
        case FileFilter::kQbr2:
            return QStringLiteral("qbr2 files (*.qbr2)");
        case FileFilter::kQbr:
            return QStringLiteral("qbr files (*.qbr)");
        case FileFilter::kEpub:
            return QStringLiteral("EPUB files (*.epub)");
    }
    return {};
}

QString CaptionText(MessageCaption caption) {
    switch (caption) {
        case MessageCaption::kNone:
            return QString::fromUtf8(gui::messages::kErrorTitle);
        case MessageCaption::kPrompt:
            return QString::fromUtf8(gui::messages::kPromptTitle);
        case MessageCaption::kAppName:
            return QStringLiteral("BrisnaMake");
    }
    return {};
}

void QtDialogHost::ShowMessage(std::string_view gbkText, MessageCaption caption) {
    Message message{QString::fromStdString(GbkToUtf8Lossless(gbkText)), CaptionText(caption)};
    messages_.push_back(message);
    if (beforeDialog) beforeDialog();
    if (messagePresenter) {
        messagePresenter(message);
        return;
    }
    // A message box waits for the operator: no wait cursor over it.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(QMessageBox::NoIcon, message.caption, message.text, QMessageBox::Ok, owner_);
    // An empty title would let the platform fill in the program's name; a space keeps it empty.
    if (message.caption.isEmpty()) box.setWindowTitle(QStringLiteral(" "));
    box.exec();
    if (waiting) QApplication::restoreOverrideCursor();
}

bool QtDialogHost::Confirm(std::string_view gbkQuestion) {
    Message question{QString::fromStdString(GbkToUtf8Lossless(gbkQuestion)),
                     CaptionText(MessageCaption::kPrompt)};
    if (beforeDialog) beforeDialog();
    if (confirmPresenter) return confirmPresenter(question);
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(QMessageBox::Question, question.caption, question.text,
                    QMessageBox::Ok | QMessageBox::Cancel, owner_);
    box.button(QMessageBox::Ok)->setText(QString::fromUtf8(gui::captions::kOk));
    box.button(QMessageBox::Cancel)->setText(QString::fromUtf8(gui::captions::kCancel));
    // Enter must not throw work away by accident.
    box.setDefaultButton(QMessageBox::Cancel);
    const bool agreed = box.exec() == QMessageBox::Ok;
    if (waiting) QApplication::restoreOverrideCursor();
    return agreed;
}

int QtDialogHost::AskQuestion(std::string_view gbkText, const std::vector<std::string>& gbkButtons,
                              int defaultButton) {
    Message question{QString::fromStdString(GbkToUtf8Lossless(gbkText)),
                     CaptionText(MessageCaption::kPrompt)};
    if (beforeDialog) beforeDialog();
    // Where tests answer yes/no questions, the first button is yes.
    if (confirmPresenter) return confirmPresenter(question) ? 0 : defaultButton;
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(QMessageBox::Question, question.caption, question.text, QMessageBox::NoButton,
                    owner_);
    std::vector<QAbstractButton*> buttons;
    for (const std::string& text : gbkButtons) {
        buttons.push_back(box.addButton(QString::fromStdString(GbkToUtf8Lossless(text)),
                                        QMessageBox::ActionRole));
    }
    if (defaultButton >= 0 && defaultButton < static_cast<int>(buttons.size())) {
        box.setDefaultButton(static_cast<QPushButton*>(buttons[defaultButton]));
        box.setEscapeButton(buttons[defaultButton]);
    }
    box.exec();
    if (waiting) QApplication::restoreOverrideCursor();
    auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    return chosen == buttons.end() ? defaultButton : static_cast<int>(chosen - buttons.begin());
}

std::optional<std::string> QtDialogHost::ChooseFileToOpen(FileFilter filter) {
    std::optional<QString> path;
    if (beforeDialog) beforeDialog();
    if (fileBytesChooser) {
        std::optional<std::string> bytes = fileBytesChooser(filter);
        if (!bytes || bytes->empty()) return std::nullopt;
        lastChosen_ = *bytes;
        return lastChosen_;
    }
    if (fileChooser) {
        path = fileChooser(filter);
    } else {
        QString chosen =
            QFileDialog::getOpenFileName(owner_, QString(), QString(), QtFilterText(filter));
        if (!chosen.isEmpty()) path = chosen;
    }
    if (!path || path->isEmpty()) return std::nullopt;
    lastChosen_ = QFile::encodeName(*path).toStdString();
    return lastChosen_;
}

void QtDialogHost::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtDialogHost::EndWaitCursor() {
    QApplication::restoreOverrideCursor();
}

void QtDialogHost::SetFieldText(int fieldId, std::string_view gbk) {
    auto it = fields_.find(fieldId);
    if (it == fields_.end() || it->second == nullptr) return;
    std::string oneLine;
    for (char c : gbk) {
        // Neither byte occurs as the second byte of a double-byte character.
        if (c != '\r' && c != '\n') oneLine += c;
    }
    it->second->setText(QString::fromStdString(GbkToUtf8Lossless(oneLine)));
}

std::string QtDialogHost::GetFieldText(int fieldId) {
    auto it = fields_.find(fieldId);
    if (it == fields_.end() || it->second == nullptr) return {};
    const QString text = it->second->text();
    // Character by character, so a double-byte character that would not fit whole is left out,
    // as the platform's fixed buffer does.
    std::string gbk;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        std::string bytes = Utf8ToGbk(text.mid(i, units).toStdString());
        if (gbk.size() + bytes.size() > kEditFieldBufferBytes - 1) break;
        gbk += bytes;
        i += units;
    }
    return gbk;
}

}  // namespace brisna
