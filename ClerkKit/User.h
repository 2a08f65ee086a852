#pragma once

#include "ClerkDate.h"
#include "JsonRecord.h"

#include <QList>
#include <QString>

// The signed-in person, as a session carries it.
struct User {
    struct EmailAddress {
        QString id;
        QString emailAddress;
        JSON_RECORD(EmailAddress, id, emailAddress)
    };

    QString id;
    std::optional<QString> username;
    std::optional<QString> firstName;
    std::optional<QString> lastName;
    std::optional<QString> imageUrl;
    std::optional<bool> hasImage;
    std::optional<QString> primaryEmailAddressId;
    std::optional<QString> primaryPhoneNumberId;
    std::optional<QList<EmailAddress>> emailAddresses;
    std::optional<ClerkDate> createdAt;
    std::optional<ClerkDate> updatedAt;

    // The address marked primary, when the user has one among their addresses.
    std::optional<QString> primaryEmailAddress() const {
        if (!primaryEmailAddressId || !emailAddresses)
            return std::nullopt;
        for (const EmailAddress& address : *emailAddresses)
            if (address.id == *primaryEmailAddressId)
                return address.emailAddress;
        return std::nullopt;
    }

    JSON_RECORD(User, id, username, firstName, lastName, imageUrl, hasImage, primaryEmailAddressId,
                primaryPhoneNumberId, emailAddresses, createdAt, updatedAt)
};
