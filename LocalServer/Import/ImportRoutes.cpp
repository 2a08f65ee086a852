#include "Import/ImportRoutes.h"

#include "Http/PresignedUpload.h"
#include "Import/DeckText.h"
#include "Import/ImportStore.h"
#include "Library/LibraryStore.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

struct ImportRoutes::Parsed {
    QString importId;
    bool committed = false;
    QString encoding;
    NotecardParser::Deck deck;
};

namespace {

const QString emptyDeckMessage = QStringLiteral("That deck is empty.");

QString tooLargeMessage(qint64 bytes) {
    return QStringLiteral("That deck is %1. Imports are limited to 2 MB — try splitting it.")
        .arg(QLocale(QLocale::English).formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat));
}

QString keyFor(const QString& userId, const QString& importId, const QString& filename) {
    return userId + '/' + importId + '/' + filename;
}

bool acceptedExtension(const QString& filename) {
    const QString extension = QFileInfo(filename).suffix().toLower();
    return extension == QLatin1String("txt") || extension == QLatin1String("csv") ||
           extension == QLatin1String("tsv");
}

QJsonObject cardJson(const NotecardParser::Card& card) {
    QJsonObject json{
        {"term", card.term}, {"definition", card.definition}, {"flagged", card.flagReason.has_value()}};
    if (card.flagReason)
        json.insert("flag_reason", *card.flagReason);
    return json;
}

} // namespace

ServerResponse ImportRoutes::initiatePaste(const ServerRequest& request, const QString& userId) {
    const QJsonValue text = request.jsonBody().value("text");
    if (!text.isString())
        return ServerResponse::apiError(422, "text is required.");
    const QByteArray bytes = text.toString().toUtf8();
    if (bytes.isEmpty())
        return ServerResponse::apiError(422, emptyDeckMessage);
    if (bytes.size() > maxDeckBytes)
        return ServerResponse::apiError(413, tooLargeMessage(bytes.size()));
    const QString importId = RandomId::make("imp");
    const QString key = keyFor(userId, importId, QStringLiteral("pasted.txt"));
    if (!ImportStore(context_.db).addPasted(importId, userId, key, bytes, context_.nowMs()))
        return ServerResponse::apiError(500, "The deck could not be saved.");
    return ServerResponse::json(QJsonObject{{"import_id", importId}, {"s3_key", key}});
}

ServerResponse ImportRoutes::initiateUpload(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    const QString filename = QFileInfo(body.value("filename").toString().trimmed()).fileName();
    const QJsonValue size = body.value("size_bytes");
    if (filename.isEmpty() || !size.isDouble() || size.toDouble() < 0 ||
        !body.value("content_type").isString())
        return ServerResponse::apiError(422, "filename, content_type and size_bytes are required.");
    if (!acceptedExtension(filename))
        return ServerResponse::apiError(
            415, "Choose a .txt, .csv or .tsv file. In Quizlet, open your set and choose Export.");
    if (size.toInteger() == 0)
        return ServerResponse::apiError(422, emptyDeckMessage);
    if (size.toInteger() > maxDeckBytes)
        return ServerResponse::apiError(413, tooLargeMessage(size.toInteger()));
    const QString importId = RandomId::make("imp");
    // The key names the file by the import alone: the student's file name stays out of URLs.
    const QString key =
        keyFor(userId, importId, QStringLiteral("deck.") + QFileInfo(filename).suffix().toLower());
    if (!ImportStore(context_.db).addAwaitingUpload(importId, userId, key, filename, context_.nowMs()))
        return ServerResponse::apiError(500, "The upload could not be started.");
    const QUrl url = PresignedUpload::url(context_, QString::fromLatin1(storagePath), "PUT import", key,
                                          uploadUrlLifetimeSeconds);
    return ServerResponse::json(QJsonObject{{"import_id", importId},
                                            {"s3_key", key},
                                            {"upload_url", url.toString(QUrl::FullyEncoded)},
                                            {"expires_in", uploadUrlLifetimeSeconds}});
}

ServerResponse ImportRoutes::store(const ServerRequest& request) {
    const QString key = request.param(0);
    // Replacing the file is allowed until the import is committed.
    if (!ImportStore(context_.db).storeContent(key, request.body))
        return PresignedUpload::error(409, "InvalidObjectState", "The upload for this key is closed.");
    return ServerResponse::empty(200);
}

std::variant<ImportRoutes::Parsed, ServerResponse> ImportRoutes::parsedImport(const QJsonObject& body,
                                                                              const QString& userId) {
    const QString importId = body.value("import_id").toString();
    const auto upload = ImportStore(context_.db).find(importId, userId, body.value("s3_key").toString());
    if (!upload)
        return ServerResponse::apiError(404, "No such import.");
    if (upload->status == "awaiting_upload")
        return ServerResponse::apiError(409, "The file has not been uploaded yet.");

    std::optional<NotecardParser::Field> field;
    std::optional<NotecardParser::CardBreak> cardBreak;
    if (const QJsonValue raw = body.value("field_delimiter"); !raw.isUndefined() && !raw.isNull()) {
        field = NotecardParser::fieldFromRaw(raw.toString());
        if (!field)
            return ServerResponse::apiError(422, "field_delimiter must be tab, comma, semicolon or dash.");
    }
    if (const QJsonValue raw = body.value("card_delimiter"); !raw.isUndefined() && !raw.isNull()) {
        cardBreak = NotecardParser::cardBreakFromRaw(raw.toString());
        if (!cardBreak)
            return ServerResponse::apiError(422, "card_delimiter must be newline or blank_line.");
    }

    const DeckText decoded = DeckText::decode(upload->content);
    if (!decoded.error.isEmpty())
        return ServerResponse::apiError(422, decoded.error);
    if (decoded.text.trimmed().isEmpty())
        return ServerResponse::apiError(422, emptyDeckMessage);
    Parsed parsed{importId, upload->status == "committed", decoded.encoding,
                  NotecardParser::parse(decoded.text, field, cardBreak)};
    if (decoded.encoding == QLatin1String("ISO-8859-1"))
        parsed.deck.notes.prepend(
            QStringLiteral("The file isn't UTF-8, so it was read as Latin-1 (ISO-8859-1)."));
    return parsed;
}

std::optional<QJsonObject> ImportRoutes::committedResult(const QString& importId, const QString& userId) {
    auto result = ImportStore(context_.db).committedResult(importId, userId);
    if (result)
        result->insert("already_imported", true);
    return result;
}

int ImportRoutes::storedCards(const QString& userId) {
    return ImportStore(context_.db).storedCards(userId);
}

ServerResponse ImportRoutes::preview(const ServerRequest& request, const QString& userId) {
    auto outcome = parsedImport(request.jsonBody(), userId);
    if (auto* refusal = std::get_if<ServerResponse>(&outcome))
        return *refusal;
    const Parsed& parsed = std::get<Parsed>(outcome);
    const NotecardParser::Deck& deck = parsed.deck;

    QJsonArray sample;
    for (const NotecardParser::Card& card : deck.cards)
        sample.append(cardJson(card));
    QJsonArray skipped;
    for (const NotecardParser::SkippedRow& row : deck.skipped)
        skipped.append(
            QJsonObject{{"line_number", row.lineNumber}, {"reason", row.reason}, {"preview", row.preview}});
    const int stored = storedCards(userId);
    const bool fits = parsed.committed || stored + deck.cards.size() <= maxStoredCards;
    QJsonObject answer{{"import_id", parsed.importId},
                       {"field_delimiter", NotecardParser::rawValue(deck.field)},
                       {"card_delimiter", NotecardParser::rawValue(deck.cardBreak)},
                       {"encoding", parsed.encoding},
                       {"total_cards", deck.totalCards},
                       {"flagged_count", deck.flaggedCount},
                       {"sample", sample},
                       {"skipped", skipped},
                       {"truncated", deck.totalCards > deck.cards.size()},
                       {"sanitized_notes", QJsonArray::fromStringList(deck.notes)},
                       {"fits_storage", fits}};
    if (!fits) {
        const QLocale english(QLocale::English);
        answer.insert("storage_message",
                      QStringLiteral("You have %1 of the %2 flashcards you can keep; this deck would add %3.")
                          .arg(english.toString(stored), english.toString(maxStoredCards),
                               english.toString(deck.cards.size())));
    }
    return ServerResponse::json(answer);
}

ServerResponse ImportRoutes::commit(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    if (!body.value("include_flagged").isBool())
        return ServerResponse::apiError(422, "import_id, s3_key and include_flagged are required.");
    const bool includeFlagged = body.value("include_flagged").toBool();
    const QString courseId = body.value("course_id").toString();
    if (!courseId.isEmpty() && !LibraryStore(context_).course(courseId, userId))
        return ServerResponse::apiError(404, "No such course.");
    if (auto earlier = committedResult(body.value("import_id").toString(), userId))
        return ServerResponse::json(*earlier);
    // Parsed before the transaction, which then holds the write lock only for the writes.
    auto outcome = parsedImport(body, userId);
    if (auto* refusal = std::get_if<ServerResponse>(&outcome))
        return *refusal;
    const Parsed& parsed = std::get<Parsed>(outcome);

    QList<NotecardParser::Card> cards;
    int flagged = 0;
    for (const NotecardParser::Card& card : parsed.deck.cards) {
        flagged += card.flagReason.has_value();
        if (includeFlagged || !card.flagReason)
            cards.append(card);
    }
    const QJsonObject result{{"import_id", parsed.importId},
                             {"imported", int(cards.size())},
                             {"flagged", flagged},
                             {"skipped", parsed.deck.skippedCount}};

    const auto saved =
        ImportStore(context_.db)
            .commit(parsed.importId, userId, courseId, cards, result, maxStoredCards, context_.nowMs());
    switch (saved.outcome) {
    case ImportStore::Commit::Busy:
        return ServerResponse::apiError(503, "The cards could not be saved. Please try again.");
    case ImportStore::Commit::AlreadyDone: {
        QJsonObject earlier = saved.earlier;
        earlier.insert("already_imported", true);
        return ServerResponse::json(earlier);
    }
    case ImportStore::Commit::TooManyCards:
        return ServerResponse::apiError(
            507, QStringLiteral("This deck is too large to add to your cards: you can keep %1 flashcards.")
                     .arg(QLocale(QLocale::English).toString(maxStoredCards)));
    case ImportStore::Commit::Failed:
        return ServerResponse::apiError(500, "The cards could not be saved. Nothing was imported.");
    case ImportStore::Commit::Done:
        break;
    }
    QJsonObject answer = result;
    answer.insert("already_imported", false);
    return ServerResponse::json(answer);
}
