#pragma once

#include <QString>

// An identity provider for OAuth sign-in. The fixed providers carry the suffix of their strategy
// names ("oauth_google", "oauth_token_apple"); a custom provider is one the instance defines, known
// by the strategy name the instance lists for it ("oauth_custom_acme").
class OAuthProvider {
public:
    enum class Kind {
        apple,
        atlassian,
        bitbucket,
        box,
        coinbase,
        discord,
        dropbox,
        facebook,
        github,
        gitlab,
        google,
        hubspot,
        huggingface,
        instagram,
        line,
        linear,
        linkedin,
        linkedinOidc,
        microsoft,
        notion,
        slack,
        spotify,
        tiktok,
        twitch,
        twitter,
        x,
        xero,
        custom,
    };

    // Implicit, so that a fixed provider can be passed as its kind.
    OAuthProvider(Kind kind) : kind_(kind) {}
    // `strategy` as the instance lists it, with or without its "oauth_" prefix.
    static OAuthProvider custom(const QString& strategy);

    Kind kind() const { return kind_; }
    // What follows "oauth_" or "oauth_token_" in the provider's strategy names.
    QString strategySuffix() const;

    friend bool operator==(const OAuthProvider& a, const OAuthProvider& b) {
        return a.kind_ == b.kind_ && a.customSuffix_ == b.customSuffix_;
    }

private:
    Kind kind_;
    QString customSuffix_;
};
