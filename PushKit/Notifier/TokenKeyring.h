#pragma once

#include <QString>

#include <functional>

// Where the device token is kept. Every call answers later, on the calling thread, unless the
// keyring is destroyed first. An `error` (what failed, never the token) means the keyring did not
// do what was asked.
class TokenKeyring {
public:
    // `token` is empty when none is stored.
    using ReadDone = std::function<void(const QString& token, const QString& error)>;
    using Done = std::function<void(const QString& error)>;

    virtual ~TokenKeyring() = default;

    virtual void read(ReadDone done) = 0;
    virtual void write(const QString& token, Done done) = 0;
    // Removing an absent token succeeds.
    virtual void remove(Done done) = 0;
};
