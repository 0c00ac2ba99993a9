#include "gui/MainWindow.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <algorithm>

#include "app/WindowLayout.h"
#include "text/CodePage936.h"

// The window's frame side: the dialog's layout on every resize, the display modes it switches
// between, and the controls' captions, visibility and enabled state as the core sets them.

namespace brisna {

void MainWindow::FitFirstSizeTo(const QRect& available) {
    // Before the window is shown its frame is unknown; leave room for a usual one.
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(8, 40);
    const PixelSize client =
        InitialClientSize({available.width(), available.height()}, {frame.width(), frame.height()});
    resize(client.width, client.height);
    const QSize outer = QSize(client.width, client.height) + frame;
    move(available.x() + std::max(0, (available.width() - outer.width()) / 2),
         available.y() + std::max(0, (available.height() - outer.height()) / 2));
}

void MainWindow::UpdateMinimumSize() {
    if (!dlg_) return;
    const PixelSize least = MinimumClientSize(dlg_->wideDisplay != 0, dlg_->problemListShown != 0);
    const QSize wanted(least.width, least.height);
    if (minimumSize() != wanted) setMinimumSize(wanted);
}

void MainWindow::LayOutControls() {
    UpdateMinimumSize();
    const auto layout = ComputeWindowLayout(width(), height(), dlg_ && dlg_->wideDisplay,
                                            !dlg_ || dlg_->problemListShown);
    for (const ControlPlacement& placement : layout) {
        if (QWidget* widget = Control(placement.controlId)) {
            const PixelRect& r = placement.rect;
            widget->setGeometry(r.x, r.y, std::max(0, r.width), std::max(0, r.height));
        }
    }
    PlaceProblemFilter();
}

void MainWindow::PlaceProblemFilter() {
    if (problemFilter_ == nullptr) return;
    // The filter takes the top of the problem list's place; the rows start below it.
    const QRect list = problemList_->geometry();
    const int row = problemFilter_->sizeHint().height();
    problemFilter_->setGeometry(list.x(), list.y(), list.width(), row);
    problemList_->setGeometry(list.x(), list.y() + row + 4, list.width(),
                              std::max(0, list.height() - row - 4));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    HandleResize();
}

void MainWindow::HandleResize() {
    if (!dlg_) return;
    // One display line per paragraph: the table depends on the text alone, so a resize needs a
    // rebuild only when the text changed since the last one. A 10 MiB book then resizes smoothly.
    OnWindowSized(*dlg_, dlg_->bookText.IsStale());
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isWindow()) WindowStateChanged();
}

void MainWindow::WindowStateChanged() {
    if (!dlg_) return;
    const bool maximized = window()->isMaximized();
    if (maximized && !wasMaximized_) {
        OnWindowMaximizing(*dlg_);
        HandleResize();  // the size may have arrived before the state: lay out narrow again
    } else if (!maximized && wasMaximized_) {
        OnWindowRestoring(*dlg_);
    }
    wasMaximized_ = maximized;
}

PixelRect MainWindow::WindowRect() const {
    const QRect frame = window()->frameGeometry();
    return {frame.x(), frame.y(), frame.width(), frame.height()};
}

bool MainWindow::IsMaximized() const {
    return window()->isMaximized();
}

void MainWindow::MoveWindow(const PixelRect& rect) {
    // The minimum of the coming display mode, before the size changes under the old one.
    UpdateMinimumSize();
    // The top-level window moves; in the application window the menu and status bars come
    // with it.
    QWidget* top = window();
    const QRect frame = top->frameGeometry();
    const int extraWidth = frame.width() - top->width();
    const int extraHeight = frame.height() - top->height();
    top->move(rect.x, rect.y);
    top->resize(std::max(1, rect.width - extraWidth), std::max(1, rect.height - extraHeight));
}

void MainWindow::SetControlText(int controlId, std::string_view gbk) {
    const QString text = QString::fromStdString(GbkToUtf8Lossless(gbk));
    QWidget* widget = Control(controlId);
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        box->setTitle(text);
    }
}

void MainWindow::ShowControl(int controlId, bool show) {
    if (QWidget* widget = Control(controlId)) widget->setVisible(show);
    if (controlId == kProblemList) problemFilter_->setVisible(show);
}

void MainWindow::EnableControl(int controlId, bool enable) {
    if (QWidget* widget = Control(controlId)) widget->setEnabled(enable);
}

}  // namespace brisna
