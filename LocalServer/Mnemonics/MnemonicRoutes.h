#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"
#include "Jobs/JobQueue.h"

#include <QJsonObject>
#include <QStringList>
#include <optional>

struct ServerContext;

// Mnemonic generation, POST /api/v1/learning-content/mnemonic: a guide made from the key terms of
// one of the user's documents or courses (or of the key ideas and content sent), answered inline
// or, when it is long work, as a queued "mnemonic" job whose result is the same record. The
// record is stored when the request asks.
class MnemonicRoutes {
public:
    static constexpr auto jobType = "mnemonic";
    // Texts longer than this are read by a job rather than while the client waits.
    static constexpr int inlineTextLimit = 100'000;

    explicit MnemonicRoutes(ServerContext& context) : context_(context) {}

    JobQueue::Runner runner();

private:
    friend class Routes; // calls the handlers

    // What a mnemonic is made from.
    struct Sources {
        std::optional<ServerResponse> refusal;
        QStringList texts;
        QString name;         // the document's title or the course's name
        bool course = false;  // the documents of a course
        bool waiting = false; // the document has not finished processing
    };
    struct Made {
        QJsonObject record; // a MnemonicResponse
        QString error;      // why none could be made
    };

    ServerResponse generate(const ServerRequest& request, const QString& userId);
    JobQueue::Outcome run(const JobQueue::Job& job);
    Sources sources(const QString& userId, const QJsonObject& input);
    Made make(const QJsonObject& input, const Sources& sources);
    void store(const QString& userId, const QJsonObject& input, const QJsonObject& record);

    ServerContext& context_;
};
