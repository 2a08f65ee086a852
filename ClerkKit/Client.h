#pragma once

#include "ClerkDate.h"
#include "Session.h"
#include "SignIn.h"
#include "SignUp.h"

// The device's auth state on the Frontend API: its sessions and the sign-in or sign-up in progress.
struct Client {
    QString id;
    QList<Session> sessions;
    std::optional<SignIn> signIn;
    std::optional<SignUp> signUp;
    std::optional<QString> lastActiveSessionId;
    std::optional<QString> lastAuthenticationStrategy;
    ClerkDate updatedAt;
    JSON_RECORD(Client, id, sessions, signIn, signUp, lastActiveSessionId, lastAuthenticationStrategy,
                updatedAt)

    // The session named by lastActiveSessionId.
    std::optional<Session> activeSession() const {
        for (const Session& session : sessions)
            if (lastActiveSessionId && session.id == *lastActiveSessionId)
                return session;
        return std::nullopt;
    }
};
