// Work shared by several awaiting callers, and work handed to a worker thread: results and errors
// reach every waiter, and a caller or a piece of work that goes away leaves nothing dangling.
// moc stumbles over <coroutine> when it comes before any Qt header.
#include <QtTest>

#include "SharedTask.h"
#include "VirtualClock.h"
#include "WorkerThread.h"

using namespace std::chrono_literals;
using async::Task;

namespace {

Task<int> slowAnswer(async::Clock& clock, int* runs) {
    ++*runs;
    co_await clock.sleep(1s);
    co_return 42;
}

Task<int> slowFailure(async::Clock& clock) {
    co_await clock.sleep(1s);
    throw std::runtime_error("no luck");
}

struct Outcome {
    std::optional<int> value;
    QString error;
};

Task<void> awaitShared(async::SharedTask<int> shared, Outcome* out) {
    try {
        out->value = co_await shared.wait();
    } catch (const URLError& e) {
        out->error = e.localizedDescription();
    } catch (const std::exception& e) {
        out->error = QString::fromLatin1(e.what());
    }
}

Task<void> awaitWorker(async::WorkerThread* worker, Qt::HANDLE* ranOn, Outcome* out) {
    try {
        out->value = co_await worker->run([ranOn] {
            *ranOn = QThread::currentThreadId();
            return 7;
        });
        co_await worker->run([] { throw std::runtime_error("worker failed"); });
    } catch (const std::exception& e) {
        out->error = QString::fromLatin1(e.what());
    }
}

Task<void> awaitBlockedWorker(async::WorkerThread* worker, QSemaphore* gate, bool* resumed) {
    co_await worker->run([gate] { gate->acquire(); });
    *resumed = true;
}

} // namespace

class SharedTaskTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyWaiterGetsTheOneResult() {
        async::VirtualClock clock;
        async::TaskScope owner, callers;
        int runs = 0, done = 0;
        auto shared = async::SharedTask<int>::start(owner, slowAnswer(clock, &runs), [&] { ++done; });
        Outcome a, b, c;
        callers.spawn(awaitShared(shared, &a));
        callers.spawn(awaitShared(shared, &b));
        clock.advance(1s);
        QCoreApplication::processEvents(); // the waiters' wake-ups
        QCOMPARE(done, 1);
        QCOMPARE(a.value, 42);
        QCOMPARE(b.value, 42);
        callers.spawn(awaitShared(shared, &c)); // after the end: answered at once
        QCOMPARE(c.value, 42);
        QCOMPARE(runs, 1);
    }

    void errorsReachEveryWaiter() {
        async::VirtualClock clock;
        async::TaskScope owner, callers;
        auto shared = async::SharedTask<int>::start(owner, slowFailure(clock));
        Outcome a, b;
        callers.spawn(awaitShared(shared, &a));
        callers.spawn(awaitShared(shared, &b));
        clock.advance(1s);
        QCoreApplication::processEvents(); // the waiters' wake-ups
        QCOMPARE(a.error, QStringLiteral("no luck"));
        QCOMPARE(b.error, QStringLiteral("no luck"));
    }

    void aCallerThatGoesAwayLeavesTheWorkToTheOthers() {
        async::VirtualClock clock;
        async::TaskScope owner, staying;
        int runs = 0;
        auto shared = async::SharedTask<int>::start(owner, slowAnswer(clock, &runs));
        Outcome leaving, stays;
        {
            async::TaskScope leavingScope;
            leavingScope.spawn(awaitShared(shared, &leaving));
        }
        staying.spawn(awaitShared(shared, &stays));
        clock.advance(1s);
        QCoreApplication::processEvents(); // the waiters' wake-ups
        QCOMPARE(stays.value, 42);
        QVERIFY(!leaving.value);
        QCOMPARE(owner.runningCount(), 0);
    }

    void cancellingTheWorkResumesWaitersWithCancellation() {
        async::VirtualClock clock;
        async::TaskScope owner, callers;
        int runs = 0, done = 0;
        auto shared = async::SharedTask<int>::start(owner, slowAnswer(clock, &runs), [&] { ++done; });
        Outcome a;
        callers.spawn(awaitShared(shared, &a));
        owner.cancel(shared.id());
        QCOMPARE(done, 1);
        QCOMPARE(clock.pendingTimers(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(a.error, QStringLiteral("cancelled"));
    }

    void workerRunsJobsOffTheCallingThread() {
        async::WorkerThread worker(QStringLiteral("test worker"));
        async::TaskScope scope;
        Qt::HANDLE ranOn = nullptr;
        Outcome out;
        scope.spawn(awaitWorker(&worker, &ranOn, &out));
        QTRY_COMPARE(out.error, QStringLiteral("worker failed"));
        QCOMPARE(out.value, 7);
        QVERIFY(ranOn && ranOn != QThread::currentThreadId());
    }

    void aCallerDestroyedWhileTheWorkerRunsIsNotResumed() {
        QSemaphore gate;
        bool resumed = false;
        {
            async::WorkerThread worker(QStringLiteral("test worker"));
            {
                async::TaskScope scope;
                scope.spawn(awaitBlockedWorker(&worker, &gate, &resumed));
            }
            gate.release(); // the job finishes after its caller is gone
        }                   // the worker drains its queue before it goes
        QCoreApplication::processEvents();
        QVERIFY(!resumed);
    }
};

QTEST_GUILESS_MAIN(SharedTaskTest)
#include "tst_SharedTask.moc"
