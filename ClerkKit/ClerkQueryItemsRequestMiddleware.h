#pragma once

#include "ClerkRequestMiddleware.h"

#include <QUrlQuery>

// Marks every request as coming from a native app: "_is_native=true".
class ClerkQueryItemsRequestMiddleware final : public ClerkRequestMiddleware {
public:
    async::Task<void> prepare(ClerkRequest& request) override {
        QUrlQuery query(request.http.url);
        query.addQueryItem(QStringLiteral("_is_native"), QStringLiteral("true"));
        request.http.url.setQuery(query);
        co_return;
    }
};
