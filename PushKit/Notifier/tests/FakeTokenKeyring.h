#pragma once

#include "TokenKeyring.h"

#include <QObject>
#include <QTimer>

// The keyring in memory. Answers on the next turn of the event loop, as the Secret Service does,
// and fails every call while `failing`.
class FakeTokenKeyring final : public QObject, public TokenKeyring {
public:
    QString stored;
    bool failing = false;
    int reads = 0;
    int writes = 0;

    void read(ReadDone done) override {
        ++reads;
        later([this, done] { done(failing ? QString() : stored, failure()); });
    }
    void write(const QString& token, Done done) override {
        ++writes;
        later([this, token, done] {
            if (!failing)
                stored = token;
            done(failure());
        });
    }
    void remove(Done done) override {
        later([this, done] {
            if (!failing)
                stored.clear();
            done(failure());
        });
    }

private:
    QString failure() const { return failing ? QStringLiteral("the keyring is locked") : QString(); }
    void later(std::function<void()> answer) { QTimer::singleShot(0, this, std::move(answer)); }
};
