#include "FlashcardImportAPI.h"

#include "ByteCountFormatter.h"
#include "CommitRequest.h"
#include "InitiatePasteRequest.h"
#include "InitiateUploadRequest.h"
#include "PreviewRequest.h"

#include <QFileInfo>

namespace {

const QString plainText = QStringLiteral("text/plain");

template <class E> std::optional<QString> rawValueOf(std::optional<E> value) {
    return value ? std::optional<QString>(json::rawValue(*value)) : std::nullopt;
}

ImportHandle handleFrom(const InitiateResponse& answer) {
    return ImportHandle{answer.importId, answer.s3Key};
}

} // namespace

FlashcardImportAPI::ImportError::ImportError(Kind kind, qint64 bytes, qint64 limit, QString fileExtension)
    : kind_(kind), bytes_(bytes), limit_(limit), fileExtension_(std::move(fileExtension)),
      what_(errorDescription().toUtf8()) {}

FlashcardImportAPI::ImportError FlashcardImportAPI::ImportError::deckTooLarge(qint64 bytes, qint64 limit) {
    return ImportError(Kind::deckTooLarge, bytes, limit);
}

FlashcardImportAPI::ImportError FlashcardImportAPI::ImportError::unsupportedFileType(QString fileExtension) {
    return ImportError(Kind::unsupportedFileType, 0, 0, std::move(fileExtension));
}

FlashcardImportAPI::ImportError FlashcardImportAPI::ImportError::emptyDeck() {
    return ImportError(Kind::emptyDeck);
}

FlashcardImportAPI::ImportError FlashcardImportAPI::ImportError::missingUploadURL() {
    return ImportError(Kind::missingUploadURL);
}

QString FlashcardImportAPI::ImportError::errorDescription() const {
    switch (kind_) {
    case Kind::deckTooLarge:
        // The limit is always worded "2 MB", whatever limit_ holds.
        return QStringLiteral("That deck is ") + ByteCountFormatter::fileString(bytes_) +
               QStringLiteral(". Imports are limited to 2 MB — try splitting it.");
    case Kind::unsupportedFileType:
        return QStringLiteral(
            "Choose a .txt, .csv or .tsv file. In Quizlet, open your set and choose Export.");
    case Kind::emptyDeck:
        return QStringLiteral("That deck is empty.");
    case Kind::missingUploadURL:
        return QStringLiteral("Couldn't start the upload. Please try again.");
    }
    return {};
}

async::Task<ImportHandle> FlashcardImportAPI::initiatePaste(const QString& text) const {
    return paste(client_, text);
}

async::Task<ImportHandle> FlashcardImportAPI::initiateUpload(const QString& filename,
                                                             const QByteArray& data) const {
    return upload(client_, filename, data);
}

async::Task<ImportPreviewResponse>
FlashcardImportAPI::preview(const ImportHandle& handle, std::optional<FieldDelimiter> fieldDelimiter,
                            std::optional<CardDelimiter> cardDelimiter) const {
    return client_.post<ImportPreviewResponse>(
        QStringLiteral("/api/study-content/import/preview"),
        PreviewRequest{handle.importId, handle.s3Key, rawValueOf(fieldDelimiter), rawValueOf(cardDelimiter)});
}

async::Task<ImportCommitResponse> FlashcardImportAPI::commit(const ImportHandle& handle,
                                                             const std::optional<QString>& courseId,
                                                             std::optional<FieldDelimiter> fieldDelimiter,
                                                             std::optional<CardDelimiter> cardDelimiter,
                                                             bool includeFlagged) const {
    return client_.post<ImportCommitResponse>(QStringLiteral("/api/study-content/import/commit"),
                                              CommitRequest{handle.importId, handle.s3Key, courseId,
                                                            rawValueOf(fieldDelimiter),
                                                            rawValueOf(cardDelimiter), includeFlagged});
}

async::Task<ImportHandle> FlashcardImportAPI::paste(APIClient client, QString text) {
    if (text.isEmpty())
        throw ImportError::emptyDeck();
    const qint64 size = text.toUtf8().size();
    if (size > maxDeckBytes)
        throw ImportError::deckTooLarge(size, maxDeckBytes);
    // Bodies are built before the co_await: g++ 12 destroys an aggregate temporary inside a
    // co_await expression twice.
    const InitiatePasteRequest request{text};
    const InitiateResponse answer = co_await client.post<InitiateResponse>(
        QStringLiteral("/api/study-content/import/initiate/paste"), request);
    co_return handleFrom(answer);
}

async::Task<ImportHandle> FlashcardImportAPI::upload(APIClient client, QString filename, QByteArray data) {
    if (data.isEmpty())
        throw ImportError::emptyDeck();
    if (data.size() > maxDeckBytes)
        throw ImportError::deckTooLarge(data.size(), maxDeckBytes);
    const QString extension = QFileInfo(filename).suffix().toLower();
    if (extension != QLatin1String("txt") && extension != QLatin1String("csv") &&
        extension != QLatin1String("tsv"))
        throw ImportError::unsupportedFileType(extension);

    const InitiateUploadRequest request{filename, plainText, data.size()};
    const InitiateResponse answer = co_await client.post<InitiateResponse>(
        QStringLiteral("/api/study-content/import/initiate/upload"), request);
    if (!answer.uploadUrl || answer.uploadUrl->isEmpty())
        throw ImportError::missingUploadURL();
    co_await APIClient::uploadToPresignedURL(QUrl(*answer.uploadUrl), data, plainText);
    co_return handleFrom(answer);
}
