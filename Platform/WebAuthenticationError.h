#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// Why a web sign-in ended without a callback URL.
class WebAuthenticationError : public std::exception {
public:
    enum class Code {
        // The user (or a newer sign-in) ended the wait.
        canceledLogin,
        // No browser could be asked to open the page.
        cannotOpenBrowser,
        // The callback came back empty.
        missingCallbackURL,
    };

    explicit WebAuthenticationError(Code code);

    Code code() const { return code_; }
    QString localizedDescription() const;
    const char* what() const noexcept override { return what_.constData(); }

private:
    Code code_;
    QByteArray what_;
};
