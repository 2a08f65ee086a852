#include "Http/QueryLimit.h"

#include "Http/ServerRequest.h"

#include <algorithm>

namespace QueryLimit {

std::optional<int> read(const ServerRequest& request, int fallback, int most) {
    const QString given = request.query.queryItemValue("limit");
    if (given.isEmpty())
        return std::min(fallback, most);
    bool ok = false;
    const int limit = given.toInt(&ok);
    if (!ok || limit < 1)
        return std::nullopt;
    return std::min(limit, most);
}

} // namespace QueryLimit
