#include "WorkerThread.h"

namespace async {

WorkerThread::WorkerThread(const QString& name) : context_(new QObject) {
    thread_.setObjectName(name);
    context_->moveToThread(&thread_);
    thread_.start();
}

WorkerThread::~WorkerThread() {
    // Queued after every job already posted, so those still run.
    post([this] { thread_.quit(); });
    thread_.wait();
    delete context_;
}

void WorkerThread::post(std::function<void()> job) {
    QMetaObject::invokeMethod(context_, std::move(job), Qt::QueuedConnection);
}

} // namespace async
