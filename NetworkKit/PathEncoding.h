#pragma once

#include <QString>

// Percent-encoding of values placed in request paths and queries.
namespace PathEncoding {

// Keeps what a URL path allows as it is ("/" included).
QString pathComponent(const QString& text);
// Encodes everything a query value cannot carry unambiguously: "&", "=", "+", "#", spaces and
// non-ASCII text among them.
QString queryValue(const QString& text);

} // namespace PathEncoding
