#include "SyllabusAPI.h"

#include "ByteCountFormatter.h"
#include "GenerationCall.h"

namespace {
const QString processPath = QStringLiteral("/api/process-document");
}

SyllabusAPI::SyllabusUploadError::SyllabusUploadError(qint64 bytes, qint64 limit)
    : bytes_(bytes), limit_(limit), what_(errorDescription().toUtf8()) {}

SyllabusAPI::SyllabusUploadError SyllabusAPI::SyllabusUploadError::fileTooLarge(qint64 bytes, qint64 limit) {
    return SyllabusUploadError(bytes, limit);
}

QString SyllabusAPI::SyllabusUploadError::errorDescription() const {
    return QStringLiteral("That syllabus file is too large. Files up to %1 can be uploaded.")
        .arg(ByteCountFormatter::fileString(limit_));
}

async::Task<SyllabusProcessResult> SyllabusAPI::processFile(const QString& source, const QString& filename,
                                                            const QString& mimeType,
                                                            const QByteArray& data) const {
    return upload(client_, source,
                  APIClient::MultipartFile{QStringLiteral("file"), filename, mimeType, data});
}

async::Task<SyllabusTextJobResult> SyllabusAPI::processText(const SyllabusTextRequest& request) const {
    return postGeneration<SyllabusTextJobResult>(client_, processPath, request);
}

async::Task<SyllabusProcessResult> SyllabusAPI::upload(APIClient client, QString source,
                                                       APIClient::MultipartFile file) {
    if (file.data.size() > maxFileBytes)
        throw SyllabusUploadError::fileTooLarge(file.data.size(), maxFileBytes);
    QList<APIClient::MultipartField> fields;
    fields.append(APIClient::MultipartField{QStringLiteral("source"), source});
    co_return co_await client.postMultipart<SyllabusProcessResult>(processPath, fields, file);
}
