#pragma once

#include <QByteArray>
#include <QJsonObject>

// Frontend API request bodies as "application/x-www-form-urlencoded": keys in alphabetical order,
// null members left out, nested objects and arrays as bracket key paths ("a[b]", "a[0]").
namespace URLEncodedForm {

QByteArray encode(const QJsonObject& object);
// Keeps letters, digits, "-._~" and "/?"; escapes the delimiters ":#[]@!$&'()*+,;=" and everything else.
QByteArray escape(const QString& text);

} // namespace URLEncodedForm
