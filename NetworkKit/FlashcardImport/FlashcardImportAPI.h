#pragma once

#include "APIClient.h"
#include "CardDelimiter.h"
#include "FieldDelimiter.h"
#include "ImportCommitResponse.h"
#include "ImportHandle.h"
#include "ImportPreviewResponse.h"
#include "InitiateResponse.h"

#include <exception>

// Brings an exported flashcard deck (plain text, typically from Quizlet) into a course: initiate
// from pasted text or an uploaded file, preview with chosen or detected delimiters, then commit.
class FlashcardImportAPI {
public:
    static constexpr qint64 maxDeckBytes = 0x200000;

    // Refusals made on the device, before any request.
    class ImportError : public std::exception {
    public:
        enum class Kind { deckTooLarge, unsupportedFileType, emptyDeck, missingUploadURL };

        static ImportError deckTooLarge(qint64 bytes, qint64 limit);
        static ImportError unsupportedFileType(QString fileExtension);
        static ImportError emptyDeck();
        static ImportError missingUploadURL();

        Kind kind() const { return kind_; }
        qint64 bytes() const { return bytes_; }
        qint64 limit() const { return limit_; }
        const QString& fileExtension() const { return fileExtension_; }
        QString errorDescription() const;
        const char* what() const noexcept override { return what_.constData(); }

    private:
        ImportError(Kind kind, qint64 bytes = 0, qint64 limit = 0, QString fileExtension = {});
        Kind kind_;
        qint64 bytes_;
        qint64 limit_;
        QString fileExtension_;
        QByteArray what_;
    };

    explicit FlashcardImportAPI(APIClient client) : client_(std::move(client)) {}

    // The text goes out unchanged; whitespace counts as content.
    async::Task<ImportHandle> initiatePaste(const QString& text) const;
    // Accepts .txt, .csv and .tsv files of at most maxDeckBytes, sent as text/plain.
    async::Task<ImportHandle> initiateUpload(const QString& filename, const QByteArray& data) const;
    // May be repeated on the same handle with other delimiters; absent ones are left to the backend.
    async::Task<ImportPreviewResponse> preview(const ImportHandle& handle,
                                               std::optional<FieldDelimiter> fieldDelimiter,
                                               std::optional<CardDelimiter> cardDelimiter) const;
    async::Task<ImportCommitResponse> commit(const ImportHandle& handle,
                                             const std::optional<QString>& courseId,
                                             std::optional<FieldDelimiter> fieldDelimiter,
                                             std::optional<CardDelimiter> cardDelimiter,
                                             bool includeFlagged) const;

private:
    static async::Task<ImportHandle> paste(APIClient client, QString text);
    static async::Task<ImportHandle> upload(APIClient client, QString filename, QByteArray data);

    APIClient client_;
};
