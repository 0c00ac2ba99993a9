#include <QApplication>

#include "app/ControlIds.h"
#include "chapters/ChapterTitle.h"
#include "detect/BookOutline.h"
#include "gui/GuiMessages.h"
#include "gui/InterfaceThread.h"
#include "gui/MainWindow.h"
#include "gui/PartsPlanDialog.h"

// The window's side of long commands: the dialog reaches the controls through the worker-side
// stand-ins, the long commands run on a worker, and nothing else reaches the dialog meanwhile.

namespace brisna {

void MainWindow::CreateWorkerSide() {
    workerText_ = std::make_unique<InterfaceThreadRichEdit>(*textView_);
    workerChapters_ = std::make_unique<InterfaceThreadListBox>(*chapterList_, *chapterList_);
    workerProblems_ = std::make_unique<InterfaceThreadListBox>(*problemList_, *problemList_);
    workerHost_ = std::make_unique<InterfaceThreadHost>(host_, *this);
    workerFrame_ = std::make_unique<InterfaceThreadFrame>(*this, *this);
    work_ = new BackgroundWork(this);
    workerHost_->aroundQuestion = [this](const std::function<void()>& question) {
        work_->AroundQuestion(question);
    };
}

void MainWindow::ConnectDialogQuestions() {
    dlg_->confirm = [this](std::string_view question) {
        bool yes = false;
        RunOnThreadOf(this, [&] { work_->AroundQuestion([&] { yes = host_.Confirm(question); }); });
        return yes;
    };
    dlg_->reviewPartsPlan = [this](const PartPlan& plan, const CBrisnaMakeDlg::PartsWriter& write) {
        // The parts are written on a worker while the plan's own bar moves.
        CBrisnaMakeDlg::PartsWriter writeOffThread = [this, &write,
                                                      &plan](const PartsProgress& progress) {
            PartsOutcome outcome;
            BackgroundWork::RunOffThread([&] {
                outcome = write([&](size_t done, size_t total) {
                    RunOnThreadOf(this, [&] { progress(done, total); });
                });
            });
            // The status bar tells how many files went where, with the button to that folder.
            if (outcome.succeeded && !outcome.writtenFiles.empty()) {
                partsWritten_ = {PartsWrittenNotice(plan.parts.size(), outcome.writtenFiles),
                                 WrittenFolder(outcome.writtenFiles)};
            }
            return outcome;
        };
        RunOnThreadOf(this, [&] {
            work_->AroundQuestion([&] {
                PartsPlanDialog dialog(plan, writeOffThread, this);
                dialog.exec();
            });
        });
    };
}

QString MainWindow::BusyLabelFor(int controlId) {
    switch (controlId) {
        case kOpenTextButton:
            return QString::fromUtf8(gui::messages::kOpeningText);
        case kOpenQbr2Button:
            return QString::fromUtf8(gui::messages::kOpeningQbr2);
        case kOpenQbrButton:
            return QString::fromUtf8(gui::messages::kOpeningQbr);
        case kOpenEpubCommand:
            return QString::fromUtf8(gui::messages::kOpeningEpub);
        case kGenerateButton:
            return QString::fromUtf8(gui::messages::kGeneratingQbr);
        case kGenerateEpubCommand:
            return QString::fromUtf8(gui::messages::kGeneratingEpub);
        case kTestButton:
            return QString::fromUtf8(gui::messages::kGeneratingTest);
        case kCheckMissingButton:
            return QString::fromUtf8(gui::messages::kCheckingMissing);
        default:
            return {};
    }
}

bool MainWindow::RefuseWhileBusy() {
    if (!Busy()) return false;
    QApplication::beep();
    emit transientNotice(work_->Label() + QString::fromUtf8(gui::messages::kBusyUntilDone));
    return true;
}

void MainWindow::RunInBackground(const QString& label, const std::function<void()>& work) {
    const bool wasReadOnly = textView_->isReadOnly();
    textView_->setReadOnly(true);
    struct Restore {
        MainWindow& window;
        bool readOnly;
        ~Restore() {
            window.textView_->setReadOnly(readOnly);
            // A 仅匹配行首 chosen while the command ran counts from now on.
            window.dlg_->headingsAtLineStart = window.lineStartAction_->isChecked();
        }
    } restore{*this, wasReadOnly};
    work_->Run(label, work);
}

size_t MainWindow::CountOutlineChapters() {
    const std::string text = ReadBookText(dlg_->bookText.View());
    // A book opened from an EPUB is counted by its own contents, one chapter per place they lead
    // to, as the chapter list and the message on opening count it.
    if (const std::vector<TocEntry>* contents = dlg_->openedContents.For(text, dlg_->chapters)) {
        size_t places = 0;
        for (size_t i = 0; i < contents->size(); ++i) {
            if (i + 1 == contents->size() || (*contents)[i + 1].offset != (*contents)[i].offset) {
                ++places;
            }
        }
        return places;
    }
    return BuildBookOutline(text).ChapterCount();
}

}  // namespace brisna
