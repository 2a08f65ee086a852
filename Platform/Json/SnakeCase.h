#pragma once

#include <QString>

namespace json {

// Key conversions as the platform's JSON coder does them: "documentId" ↔ "document_id",
// "myURLValue" → "my_url_value", "_leading_key_" keeps its outer underscores.
QString convertToSnakeCase(const QString& key);
QString convertFromSnakeCase(const QString& key);

} // namespace json
