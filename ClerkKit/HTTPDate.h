#pragma once

#include <QByteArray>
#include <QDateTime>

#include <optional>

// Dates as HTTP headers write them ("Sun, 06 Nov 1994 08:49:37 GMT").
namespace HTTPDate {

std::optional<QDateTime> parse(const QByteArray& text);

} // namespace HTTPDate
