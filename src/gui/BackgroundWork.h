#pragma once
// Long commands of the window run on a worker thread while the window keeps serving its events:
// it repaints, can be moved, and tells after 300 ms that it is busy (status bar) and after a
// second in a dialog. One command at a time: the window asks Busy() before it starts another.

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

#include "gui/ProgressIndication.h"

class QWidget;

namespace brisna {

class BackgroundWork : public QObject {
    Q_OBJECT
  public:
    explicit BackgroundWork(QWidget* window);

    bool Busy() const { return busy_; }
    // What the running command does ("正在生成EPUB…"); empty when none runs.
    const QString& Label() const { return label_; }

    // Runs `work` on a worker and returns when it has finished, serving the window's events
    // meanwhile. What `work` throws comes out of here, on the window's thread.
    void Run(const QString& label, const std::function<void()>& work);
    // A question to the operator while the work runs: the busy indication steps aside until it
    // is answered, so the progress dialog never covers a message box or a file dialog.
    void AroundQuestion(const std::function<void()>& question);

    // Runs `work` on a worker thread and returns when it has finished, serving the events of the
    // calling thread meanwhile (no indication of its own).
    static void RunOffThread(const std::function<void()>& work);

    // The delays of the status bar's notice and of the dialog (tests and screenshots shorten
    // them).
    int statusDelayMs = 300;
    int dialogDelayMs = 1000;

  signals:
    // The status bar's busy notice: the label, or empty when the work is over.
    void busyNoticeChanged(const QString& notice);

  private:
    void StartIndication();
    void StopIndication();

    bool busy_ = false;
    int questionDepth_ = 0;
    QString label_;
    QTimer statusTimer_;
    QTimer dialogTimer_;
    ProgressIndication progress_;
};

}  // namespace brisna
