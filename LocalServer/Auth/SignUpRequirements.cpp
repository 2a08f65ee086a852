#include "Auth/SignUpRequirements.h"

const QStringList SignUpRequirements::selectable{"first_name", "last_name", "legal_accepted"};

QJsonArray SignUpRequirements::requiredFields() const {
    QJsonArray fields{"email_address", "password"};
    for (const QString& field : selectable) {
        if (isRequired(field))
            fields.append(field);
    }
    return fields;
}

QJsonArray SignUpRequirements::optionalFields() const {
    QJsonArray fields;
    for (const QString field : {"first_name", "last_name"}) {
        if (!isRequired(field))
            fields.append(field);
    }
    return fields;
}

QJsonArray SignUpRequirements::missingFields(const QJsonObject& state) const {
    QJsonArray missing;
    if (state.value("email_address").toString().isEmpty())
        missing.append("email_address");
    // An account made from an OAuth sign-in has no password.
    if (state.value("password_hash").toString().isEmpty() && !state.value("transfer").toBool())
        missing.append("password");
    for (const QString field : {"first_name", "last_name"}) {
        if (isRequired(field) && state.value(field).toString().trimmed().isEmpty())
            missing.append(field);
    }
    if (isRequired("legal_accepted") && !state.value("legal_accepted").toBool())
        missing.append("legal_accepted");
    return missing;
}
