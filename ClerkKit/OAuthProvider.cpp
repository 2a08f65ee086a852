#include "OAuthProvider.h"

OAuthProvider OAuthProvider::custom(const QString& strategy) {
    OAuthProvider provider(Kind::custom);
    provider.customSuffix_ =
        strategy.startsWith(QLatin1String("oauth_")) ? strategy.mid(int(qstrlen("oauth_"))) : strategy;
    return provider;
}

QString OAuthProvider::strategySuffix() const {
    switch (kind_) {
    case Kind::apple:
        return QStringLiteral("apple");
    case Kind::atlassian:
        return QStringLiteral("atlassian");
    case Kind::bitbucket:
        return QStringLiteral("bitbucket");
    case Kind::box:
        return QStringLiteral("box");
    case Kind::coinbase:
        return QStringLiteral("coinbase");
    case Kind::discord:
        return QStringLiteral("discord");
    case Kind::dropbox:
        return QStringLiteral("dropbox");
    case Kind::facebook:
        return QStringLiteral("facebook");
    case Kind::github:
        return QStringLiteral("github");
    case Kind::gitlab:
        return QStringLiteral("gitlab");
    case Kind::google:
        return QStringLiteral("google");
    case Kind::hubspot:
        return QStringLiteral("hubspot");
    case Kind::huggingface:
        return QStringLiteral("huggingface");
    case Kind::instagram:
        return QStringLiteral("instagram");
    case Kind::line:
        return QStringLiteral("line");
    case Kind::linear:
        return QStringLiteral("linear");
    case Kind::linkedin:
        return QStringLiteral("linkedin");
    case Kind::linkedinOidc:
        return QStringLiteral("linkedin_oidc");
    case Kind::microsoft:
        return QStringLiteral("microsoft");
    case Kind::notion:
        return QStringLiteral("notion");
    case Kind::slack:
        return QStringLiteral("slack");
    case Kind::spotify:
        return QStringLiteral("spotify");
    case Kind::tiktok:
        return QStringLiteral("tiktok");
    case Kind::twitch:
        return QStringLiteral("twitch");
    case Kind::twitter:
        return QStringLiteral("twitter");
    case Kind::x:
        return QStringLiteral("x");
    case Kind::xero:
        return QStringLiteral("xero");
    case Kind::custom:
        return customSuffix_;
    }
    return customSuffix_;
}
