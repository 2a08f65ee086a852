#include "Http/RangedFile.h"

#include "Http/ByteRange.h"

ServerResponse rangedFile(QFile& file, const QByteArray& rangeHeader, const QByteArray& contentType) {
    // A handle of the answer's own, unbuffered: the bytes are read as the client takes them,
    // long after the caller's handle is gone.
    auto body = std::make_shared<QFile>(file.fileName());
    if (!body->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return ServerResponse::apiError(404, "Not Found");
    const qint64 size = body->size();
    const ByteRange range = ByteRange::parse(rangeHeader, size);
    ServerResponse response;
    if (range.kind == ByteRange::Kind::Unsatisfiable)
        response = ServerResponse::empty(416);
    else if (range.kind == ByteRange::Kind::Partial)
        response = ServerResponse::file({body, range.first, range.length()}, contentType, 206);
    else
        response = ServerResponse::file({body, 0, size}, contentType);
    if (range.kind != ByteRange::Kind::Whole)
        response.setHeader("Content-Range", range.contentRange(size));
    response.setHeader("Accept-Ranges", "bytes");
    return response;
}
