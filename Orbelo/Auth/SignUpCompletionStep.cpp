#include "Auth/SignUpCompletionStep.h"

#include <algorithm>

bool SignUpCompletionStep::canComplete(const QStringList& fields) {
    static const QStringList completable{QStringLiteral("first_name"), QStringLiteral("last_name"),
                                         QStringLiteral("legal_accepted")};
    return !fields.isEmpty() && std::all_of(fields.begin(), fields.end(),
                                            [](const QString& field) { return completable.contains(field); });
}

void SignUpCompletionStep::setFirstName(const QString& name) {
    if (name == firstName_)
        return;
    firstName_ = name;
    Q_EMIT firstNameChanged();
}

void SignUpCompletionStep::setLastName(const QString& name) {
    if (name == lastName_)
        return;
    lastName_ = name;
    Q_EMIT lastNameChanged();
}

void SignUpCompletionStep::setLegalAccepted(bool accepted) {
    if (accepted == legalAccepted_)
        return;
    legalAccepted_ = accepted;
    Q_EMIT legalAcceptedChanged();
}

void SignUpCompletionStep::setMissingFields(const QStringList& fields) {
    if (fields == missingFields_)
        return;
    missingFields_ = fields;
    Q_EMIT missingFieldsChanged();
}

SignUp::UpdateParams SignUpCompletionStep::fields() const {
    SignUp::UpdateParams fields;
    if (needsFirstName())
        fields.firstName = firstName_.trimmed();
    if (needsLastName())
        fields.lastName = lastName_.trimmed();
    if (needsLegalAcceptance())
        fields.legalAccepted = legalAccepted_;
    return fields;
}
