#include "gui/BackgroundWork.h"

#include <QEventLoop>
#include <QWidget>
#include <exception>
#include <thread>

namespace brisna {

BackgroundWork::BackgroundWork(QWidget* window) : QObject(window), progress_(window) {
    statusTimer_.setSingleShot(true);
    dialogTimer_.setSingleShot(true);
    connect(&statusTimer_, &QTimer::timeout, this, [this] { emit busyNoticeChanged(label_); });
    connect(&dialogTimer_, &QTimer::timeout, this, [this] { progress_.Show(label_); });
}

void BackgroundWork::RunOffThread(const std::function<void()>& work) {
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: the loop ends once it is running, however soon the work was done.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

void BackgroundWork::Run(const QString& label, const std::function<void()>& work) {
    busy_ = true;
    label_ = label;
    questionDepth_ = 0;
    StartIndication();
    std::exception_ptr failure;
    try {
        RunOffThread(work);
    } catch (...) {
        failure = std::current_exception();
    }
    StopIndication();
    busy_ = false;
    label_.clear();
    emit busyNoticeChanged(QString());
    if (failure) std::rethrow_exception(failure);
}

void BackgroundWork::AroundQuestion(const std::function<void()>& question) {
    if (!busy_) {
        question();
        return;
    }
    if (questionDepth_++ == 0) StopIndication();
    struct Resume {
        BackgroundWork& work;
        ~Resume() {
            if (--work.questionDepth_ == 0) work.StartIndication();
        }
    } resume{*this};
    question();
}

void BackgroundWork::StartIndication() {
    statusTimer_.start(statusDelayMs);
    dialogTimer_.start(dialogDelayMs);
}

void BackgroundWork::StopIndication() {
    statusTimer_.stop();
    dialogTimer_.stop();
    progress_.Hide();
}

}  // namespace brisna
