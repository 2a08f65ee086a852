#pragma once

#include <QByteArray>
#include <QString>

// The plain text of an RTF document: paragraphs and line breaks kept, formatting and embedded
// destinations (font tables, pictures, metadata) dropped.
namespace RtfText {
QString extract(const QByteArray& rtf);
}
