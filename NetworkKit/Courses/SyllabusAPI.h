#pragma once

#include "APIClient.h"
#include "SyllabusProcessResult.h"
#include "SyllabusTextJobResult.h"
#include "SyllabusTextRequest.h"

#include <exception>

// Turns a syllabus, as a file or as text read on the device, into a course.
class SyllabusAPI {
public:
    static constexpr qint64 maxFileBytes = 5'500'000;

    class SyllabusUploadError : public std::exception {
    public:
        static SyllabusUploadError fileTooLarge(qint64 bytes, qint64 limit);

        qint64 bytes() const { return bytes_; }
        qint64 limit() const { return limit_; }
        QString errorDescription() const;
        const char* what() const noexcept override { return what_.constData(); }

    private:
        SyllabusUploadError(qint64 bytes, qint64 limit);
        qint64 bytes_;
        qint64 limit_;
        QByteArray what_;
    };

    explicit SyllabusAPI(APIClient client) : client_(std::move(client)) {}

    // Refuses a file over maxFileBytes before any request.
    async::Task<SyllabusProcessResult> processFile(const QString& source, const QString& filename,
                                                   const QString& mimeType, const QByteArray& data) const;
    async::Task<SyllabusTextJobResult> processText(const SyllabusTextRequest& request) const;

private:
    static async::Task<SyllabusProcessResult> upload(APIClient client, QString source,
                                                     APIClient::MultipartFile file);

    APIClient client_;
};
