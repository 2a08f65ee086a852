// How tasks behave: values and errors reach the awaiting caller, and a task dies with its owner
// without touching it again, aborting its HTTP exchange and its waits.
#include "HttpTransfer.h"
#include "ScriptedHttpServer.h"
#include "TaskScope.h"
#include "URLError.h"
#include "VirtualClock.h"

#include <QtTest>

using namespace std::chrono_literals;
using async::Task;

namespace {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

Task<int> answer(int x) {
    co_return x * 2;
}

Task<int> failing() {
    throw Failure("boom");
    co_return 0;
}

Task<int> nested() {
    const int a = co_await answer(20);
    const int b = co_await answer(1);
    co_return a + b;
}

Task<QString> catchesFromChild() {
    try {
        co_await failing();
    } catch (const Failure& e) {
        co_return QString::fromLatin1(e.what());
    }
    co_return QString();
}

// Coroutines take what they use as parameters: a capturing lambda would be gone by the time
// the coroutine resumes.
Task<void> sleepThenAdd(async::Clock& clock, std::chrono::milliseconds d, int* target, int amount) {
    co_await clock.sleep(d);
    *target += amount;
}

Task<void> sleepThrice(async::Clock& clock, QDateTime start, QList<qint64>* wokeAt) {
    for (int i = 0; i < 3; ++i) {
        co_await clock.sleep(std::chrono::seconds(2));
        *wokeAt << start.msecsTo(clock.now());
    }
}

class ManualAwaiter {
public:
    explicit ManualAwaiter(async::Wakeup** exposed) : exposed_(exposed) {}
    bool await_ready() { return false; }
    void await_suspend(std::coroutine_handle<> h) {
        wakeup_.arm(h);
        *exposed_ = &wakeup_;
    }
    void await_resume() {}

private:
    async::Wakeup** exposed_;
    async::Wakeup wakeup_;
};

Task<void> awaitManualWakeup(async::Wakeup** exposed, bool* resumed) {
    co_await ManualAwaiter(exposed);
    *resumed = true;
}

// Counts the destruction of the frames that hold it.
struct Sentinel {
    int* destroyed;
    ~Sentinel() { ++*destroyed; }
};

// A screen model in miniature: a task that sleeps, then writes to the model.
class Model : public QObject {
public:
    explicit Model(int* frames) : frames_(frames) {}
    void startSleeping() { tasks.spawn(sleepThenTouch()); }
    void startFetching(QUrl url) { tasks.spawn(fetch(std::move(url))); }
    int touched = 0;

private:
    Task<void> sleepThenTouch() {
        Sentinel s{frames_};
        co_await async::Clock::current().sleep(5s);
        ++touched;
    }
    Task<void> fetch(QUrl url) {
        Sentinel s{frames_};
        HttpRequest request;
        request.url = url;
        co_await HttpTransfer::send(request);
        ++touched;
    }
    int* frames_;

public:
    async::TaskScope tasks; // last: tasks end before anything else of the model
};

} // namespace

class AsyncModelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void valuesAndErrorsReachTheAwaitingCaller() {
        async::TaskScope scope;
        int result = 0;
        scope.spawn(nested(), [&](int v) { result = v; });
        QCOMPARE(result, 42); // no suspension: finished before spawn returned
        QCOMPARE(scope.runningCount(), 0);

        QString caught;
        scope.spawn(catchesFromChild(), [&](QString v) { caught = v; });
        QCOMPARE(caught, QStringLiteral("boom"));

        QString reported;
        scope.spawn(
            failing(), [](int) { QFAIL("no value expected"); },
            [&](std::exception_ptr e) {
                try {
                    std::rethrow_exception(e);
                } catch (const Failure& f) {
                    reported = QString::fromLatin1(f.what());
                }
            });
        QCOMPARE(reported, QStringLiteral("boom"));
    }

    void destroyingTheOwnerEndsItsSuspendedTasks() {
        async::VirtualClock clock;
        async::ScopedClock use(clock);
        int frames = 0;
        auto* model = new Model(&frames);
        model->startSleeping();
        model->startSleeping();
        QCOMPARE(clock.pendingTimers(), 2);

        delete model;
        QCOMPARE(frames, 2);                // both frames are gone...
        QCOMPARE(clock.pendingTimers(), 0); // ...and so are their waits
        clock.advance(10s);                 // nothing resumes into the dead model (ASan would say)
    }

    void cancellingOneTaskLeavesTheOthers() {
        async::VirtualClock clock;
        async::ScopedClock use(clock);
        int frames = 0;
        Model model(&frames);
        model.startSleeping();
        const auto second = model.tasks.spawn(sleepThenAdd(clock, 1s, &model.touched, 100));
        model.tasks.cancel(second);
        QVERIFY(!model.tasks.isRunning(second));
        clock.advance(5s);
        QCOMPARE(model.touched, 1);
        QCOMPARE(model.tasks.runningCount(), 0);
    }

    void cancellingAbortsTheHttpExchangeInFlight() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::held(ScriptedResponse::json(200, "{}")));
        int frames = 0;
        auto* model = new Model(&frames);
        model->startFetching(server.baseUrl().resolved(QUrl(QStringLiteral("/slow"))));
        QTRY_COMPARE(server.heldCount(), 1);

        delete model;
        QCOMPARE(frames, 1);
        QTRY_COMPARE(server.clientAbortsWhileHeld(), 1);
    }

    void aWakeUpPostedBeforeCancellationIsDropped() {
        // Something woke the task (the wake-up is posted), but its owner goes before the event
        // loop delivers it: the task must not resume.
        async::Wakeup* wakeup = nullptr;
        bool resumed = false;
        auto scope = std::make_unique<async::TaskScope>();
        scope->spawn(awaitManualWakeup(&wakeup, &resumed));
        QVERIFY(wakeup);
        wakeup->fire();
        scope.reset();
        QCoreApplication::processEvents();
        QVERIFY(!resumed);
    }

    void virtualTimeRunsWokenTasksBeforeMovingOn() {
        async::VirtualClock clock;
        async::ScopedClock use(clock);
        const QDateTime start = clock.now();
        QList<qint64> wokeAt;
        async::TaskScope scope;
        scope.spawn(sleepThrice(clock, start, &wokeAt));
        clock.advance(5s);
        QCOMPARE(wokeAt, (QList<qint64>{2000, 4000}));
        QCOMPARE(clock.nextTimerIn(), 1s);
        clock.advance(1s);
        QCOMPARE(wokeAt, (QList<qint64>{2000, 4000, 6000}));
        QCOMPARE(scope.runningCount(), 0);
    }

    void systemClockWakesASleepingTask() {
        async::TaskScope scope;
        int count = 0;
        scope.spawn(sleepThenAdd(async::Clock::system(), 1ms, &count, 1));
        QCOMPARE(count, 0);
        QTRY_COMPARE(count, 1);
    }
};

QTEST_GUILESS_MAIN(AsyncModelTest)
#include "tst_AsyncModel.moc"
