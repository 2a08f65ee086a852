#include "RangedFile.h"

#include "ByteRange.h"

ServerResponse rangedFile(QFile& file, const QByteArray& rangeHeader, const QByteArray& contentType) {
    const qint64 size = file.size();
    const ByteRange range = ByteRange::parse(rangeHeader, size);
    ServerResponse response;
    if (range.kind == ByteRange::Kind::Unsatisfiable) {
        response = ServerResponse::empty(416);
    } else if (range.kind == ByteRange::Kind::Partial && file.seek(range.first)) {
        response = ServerResponse::bytes(file.read(range.length()), contentType, 206);
    } else {
        response = ServerResponse::bytes(file.readAll(), contentType);
    }
    if (range.kind != ByteRange::Kind::Whole)
        response.setHeader("Content-Range", range.contentRange(size));
    response.setHeader("Accept-Ranges", "bytes");
    return response;
}
