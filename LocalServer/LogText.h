#pragma once

#include <QString>
#include <QStringView>

// Text that came with a request, made safe for one line of the server's log: every control
// character (line breaks, tabs, ESC, DEL, the Unicode line and paragraph separators) and the
// backslash are written as escapes, so no request can end a line and forge the next, and the
// result is cut at a length with an ellipsis to mark the cut.
namespace LogText {
constexpr qsizetype defaultMaxChars = 300;
QString clean(QStringView text, qsizetype maxChars = defaultMaxChars);
} // namespace LogText
