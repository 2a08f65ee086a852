#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"
#include "Import/NotecardParser.h"

#include <QJsonObject>
#include <optional>
#include <variant>

struct ServerContext;

// Notecard import: a deck exported as text arrives pasted or through a presigned upload (PUT
// under /import-storage), is previewed as often as the student likes with detected or chosen
// separators, and is committed into the user's flashcards once: committing again changes nothing
// and answers already_imported.
class ImportRoutes {
public:
    // 2 MiB, as the app checks before sending.
    static constexpr qint64 maxDeckBytes = 0x200000;
    static constexpr int uploadUrlLifetimeSeconds = 900;
    // Flashcards one user may keep; a deck that would pass it does not fit.
    static constexpr int maxStoredCards = 50000;
    // A pasted deck arrives as a JSON string, whose escapes take up to six bytes a character.
    static constexpr qint64 maxPasteBodyBytes = 6 * maxDeckBytes + 64 * 1024;
    static constexpr const char* storagePath = "/import-storage/";

    explicit ImportRoutes(ServerContext& context) : context_(context) {}

private:
    friend class Routes; // calls the handlers

    struct Import;
    struct Parsed;

    ServerResponse initiatePaste(const ServerRequest& request, const QString& userId);
    ServerResponse initiateUpload(const ServerRequest& request, const QString& userId);
    ServerResponse store(const ServerRequest& request);
    ServerResponse preview(const ServerRequest& request, const QString& userId);
    ServerResponse commit(const ServerRequest& request, const QString& userId);
    // The import the body names with its id and key, parsed with the separators the body asks for;
    // or the error to answer.
    std::variant<Parsed, ServerResponse> parsedImport(const QJsonObject& body, const QString& userId);
    // The answer of the commit that already took place, marked already_imported.
    std::optional<QJsonObject> committedResult(const QString& importId, const QString& userId);
    int storedCards(const QString& userId);

    ServerContext& context_;
};
