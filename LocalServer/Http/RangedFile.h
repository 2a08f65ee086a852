#pragma once

#include "Http/ServerResponse.h"

#include <QFile>

// Answers an open file for a "Range: bytes=…" request (ByteRange): 206 with Content-Range for a
// single satisfiable range, 416 past the end, else the whole file; always Accept-Ranges, so
// that players can seek. The bytes stay on disk until they are written.
ServerResponse rangedFile(QFile& file, const QByteArray& rangeHeader, const QByteArray& contentType);
