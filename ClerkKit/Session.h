#pragma once

#include "ClerkDate.h"
#include "SessionActivity.h"
#include "SessionStatus.h"
#include "Task.h"
#include "TokenResource.h"
#include "User.h"

#include <QList>

class Clerk;

// A signed-in session of the device's client.
struct Session {
    // Something the user must still do before a pending session becomes active.
    struct Task {
        QString key; // "choose-organization", "reset-password", "setup-mfa"
        JSON_RECORD(Task, key)
    };

    struct PublicUserData {
        std::optional<QString> firstName;
        std::optional<QString> lastName;
        std::optional<QString> imageUrl;
        std::optional<bool> hasImage;
        std::optional<QString> identifier;
        std::optional<QString> userId;
        JSON_RECORD(PublicUserData, firstName, lastName, imageUrl, hasImage, identifier, userId)
    };

    struct GetTokenOptions {
        std::optional<QString> template_; // the name of a JWT template
        double expirationBuffer = 10;     // seconds
        bool skipCache = false;
    };

    QString id;
    SessionStatus status = SessionStatus::active;
    ClerkDate expireAt;
    ClerkDate abandonAt;
    ClerkDate lastActiveAt;
    std::optional<SessionActivity> latestActivity;
    std::optional<QString> lastActiveOrganizationId;
    std::optional<QJsonValue> actor;
    std::optional<User> user;
    std::optional<PublicUserData> publicUserData;
    ClerkDate createdAt;
    ClerkDate updatedAt;
    std::optional<QList<Task>> tasks;
    std::optional<TokenResource> lastActiveToken;
    JSON_RECORD(Session, id, status, expireAt, abandonAt, lastActiveAt, latestActivity,
                lastActiveOrganizationId, actor, user, publicUserData, createdAt, updatedAt, tasks,
                lastActiveToken)

    // A token for this session, from the cache while it is fresh enough, else from the Frontend API.
    // Throws ClerkInitializationError before `clerk` is configured, else the pipeline's errors.
    async::Task<TokenResource> getToken() const;
    async::Task<TokenResource> getToken(GetTokenOptions options) const;
    async::Task<TokenResource> getToken(GetTokenOptions options, Clerk& clerk) const;
};
