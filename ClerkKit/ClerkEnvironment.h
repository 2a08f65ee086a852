#pragma once

#include "JsonRecord.h"

#include <QList>
#include <QMap>
#include <QString>

// The instance's settings (GET "/v1/environment"), known to the app as Clerk::Environment.
struct ClerkEnvironment {
    struct AuthConfig {
        std::optional<bool> singleSessionMode;
        JSON_RECORD(AuthConfig, singleSessionMode)
    };

    struct DisplayConfig {
        std::optional<QString> applicationName;
        std::optional<bool> branded;
        std::optional<QString> homeUrl;
        std::optional<QString> instanceEnvironmentType; // "development" or "production"
        std::optional<QString> logoImageUrl;
        std::optional<QString> preferredSignInStrategy;
        std::optional<QString> privacyPolicyUrl;
        std::optional<bool> showDevmodeWarning;
        std::optional<QString> supportEmail;
        std::optional<QString> termsUrl;
        JSON_RECORD(DisplayConfig, applicationName, branded, homeUrl, instanceEnvironmentType, logoImageUrl,
                    preferredSignInStrategy, privacyPolicyUrl, showDevmodeWarning, supportEmail, termsUrl)
    };

    struct Attribute {
        std::optional<bool> enabled;
        std::optional<bool> required;
        std::optional<bool> usedForFirstFactor;
        std::optional<QList<QString>> firstFactors;
        std::optional<bool> usedForSecondFactor;
        std::optional<QList<QString>> secondFactors;
        std::optional<QList<QString>> verifications;
        std::optional<bool> verifyAtSignUp;
        JSON_RECORD(Attribute, enabled, required, usedForFirstFactor, firstFactors, usedForSecondFactor,
                    secondFactors, verifications, verifyAtSignUp)
    };

    struct SignUpSettings {
        std::optional<bool> customActionRequired;
        std::optional<bool> progressive;
        std::optional<bool> legalConsentEnabled;
        JSON_RECORD(SignUpSettings, customActionRequired, progressive, legalConsentEnabled)
    };

    struct SocialProvider {
        std::optional<bool> enabled;
        std::optional<bool> required;
        std::optional<bool> authenticatable;
        std::optional<QString> strategy;
        std::optional<bool> notSelectable;
        std::optional<QString> logoUrl;
        JSON_RECORD(SocialProvider, enabled, required, authenticatable, strategy, notSelectable, logoUrl)
    };

    struct Actions {
        std::optional<bool> deleteSelf;
        std::optional<bool> createOrganization;
        JSON_RECORD(Actions, deleteSelf, createOrganization)
    };

    struct PasskeySettings {
        std::optional<bool> allowAutofill;
        std::optional<bool> showSignInButton;
        JSON_RECORD(PasskeySettings, allowAutofill, showSignInButton)
    };

    struct UserSettings {
        std::optional<QMap<QString, Attribute>> attributes;
        std::optional<SignUpSettings> signUp;
        std::optional<QMap<QString, SocialProvider>> social;
        std::optional<Actions> actions;
        std::optional<PasskeySettings> passkeySettings;
        JSON_RECORD(UserSettings, attributes, signUp, social, actions, passkeySettings)
    };

    struct Domains {
        std::optional<bool> enabled;
        std::optional<QList<QString>> enrollmentModes;
        std::optional<QString> defaultRole;
        JSON_RECORD(Domains, enabled, enrollmentModes, defaultRole)
    };

    struct OrganizationSettings {
        std::optional<bool> enabled;
        std::optional<int> maxAllowedMemberships;
        std::optional<bool> forceOrganizationSelection;
        std::optional<QJsonValue> actions;
        std::optional<Domains> domains;
        std::optional<QJsonValue> organizationCreationDefaults;
        JSON_RECORD(OrganizationSettings, enabled, maxAllowedMemberships, forceOrganizationSelection, actions,
                    domains, organizationCreationDefaults)
    };

    std::optional<AuthConfig> authConfig;
    std::optional<DisplayConfig> displayConfig;
    std::optional<UserSettings> userSettings;
    std::optional<OrganizationSettings> organizationSettings;
    JSON_RECORD(ClerkEnvironment, authConfig, displayConfig, userSettings, organizationSettings)

    bool isDevelopmentInstance() const {
        return displayConfig && displayConfig->instanceEnvironmentType == QStringLiteral("development");
    }
};
