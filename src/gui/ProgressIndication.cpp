#include "gui/ProgressIndication.h"

#include <QProgressDialog>
#include "gui/GuiMessages.h"

namespace brisna {

ProgressIndication::~ProgressIndication() {
    Hide();
}

void ProgressIndication::Show(const QString& label) {
    if (dialog_ == nullptr) {
        dialog_ = new QProgressDialog(window_);
        dialog_->setObjectName(QStringLiteral("backgroundProgress"));
        dialog_->setWindowTitle(QString::fromUtf8(gui::messages::kPleaseWait));
        // A range of 0..0 is the moving bar of work that cannot say how far it has come.
        dialog_->setRange(0, 0);
        dialog_->setCancelButton(nullptr);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        // The window can still be moved and repaints; its buttons wait for the command.
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setMinimumWidth(320);
    }
    dialog_->setLabelText(label);
    dialog_->show();
}

void ProgressIndication::Hide() {
    if (dialog_ == nullptr) return;
    dialog_->hide();
    dialog_->deleteLater();
    dialog_ = nullptr;
}

}  // namespace brisna
