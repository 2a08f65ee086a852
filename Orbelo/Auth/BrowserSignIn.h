#pragma once

#include "OAuthProvider.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <optional>

// Google and Apple sign-in in the browser: which one the screen waits for, if any. The screen
// starts and stops the sign-in on `requested` and `cancelRequested`.
class BrowserSignIn : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(bool isGoogleSigningIn READ isGoogleSigningIn NOTIFY changed)
    Q_PROPERTY(bool isAppleSigningIn READ isAppleSigningIn NOTIFY changed)
public:
    using QObject::QObject;

    bool isGoogleSigningIn() const { return provider_ == OAuthProvider::Kind::google; }
    bool isAppleSigningIn() const { return provider_ == OAuthProvider::Kind::apple; }
    bool isWaiting() const { return provider_.has_value(); }
    void setProvider(std::optional<OAuthProvider> provider);

    Q_INVOKABLE void signInWithGoogle() { Q_EMIT requested(OAuthProvider::Kind::google); }
    Q_INVOKABLE void signInWithApple() { Q_EMIT requested(OAuthProvider::Kind::apple); }
    // Stops waiting for the browser: back to the form, without a message.
    Q_INVOKABLE void cancel() { Q_EMIT cancelRequested(); }

Q_SIGNALS:
    void changed();
    void requested(const OAuthProvider& provider);
    void cancelRequested();

private:
    std::optional<OAuthProvider> provider_;
};
