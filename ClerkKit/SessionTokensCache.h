#pragma once

#include "TokenResource.h"

#include <QHash>

#include <optional>

// Session tokens by cache key, in memory only; used on the main thread.
class SessionTokensCache {
public:
    std::optional<TokenResource> token(const QString& key) const {
        const auto it = tokens_.constFind(key);
        return it == tokens_.cend() ? std::nullopt : std::optional<TokenResource>(*it);
    }
    void insert(const QString& key, const TokenResource& token) { tokens_.insert(key, token); }
    bool contains(const QString& key) const { return tokens_.contains(key); }
    void clear() { tokens_.clear(); }

private:
    QHash<QString, TokenResource> tokens_;
};
