// The preview of a 2 MB notecard deck, the largest an import takes: the deck reader alone on
// decks of each shape (separators detected), and the whole preview request over loopback HTTPS
// against an in-process local server. Run by hand, never by ctest.
#include "Import/DeckText.h"
#include "Import/ImportRoutes.h"
#include "Import/NotecardParser.h"
#include "LocalServerBench.h"
#include "TestServer.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

// Quizlet-like cards, as many as fill the limit: a short term and a sentence or two.
QByteArray deck(const char* separator, const char* cardBreak, bool quoteDefinitions) {
    QByteArray bytes;
    for (int i = 0;; ++i) {
        QByteArray definition =
            "the process number " + QByteArray::number(i) +
            ", by which cells turn glucose into energy, with oxygen and water as by-products";
        if (quoteDefinitions)
            definition = '"' + definition + '"';
        const QByteArray card = "term " + QByteArray::number(i) + separator + definition + cardBreak;
        if (bytes.size() + card.size() > ImportRoutes::maxDeckBytes)
            return bytes;
        bytes += card;
    }
}

void parse(benchmark::State& state, const QByteArray& bytes) {
    int cards = 0;
    for (auto _ : state) {
        const NotecardParser::Deck parsed = NotecardParser::parse(DeckText::decode(bytes).text);
        cards = parsed.totalCards;
        benchmark::DoNotOptimize(parsed.cards.data());
    }
    state.counters["cards"] = cards;
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_ParseTabDeck(benchmark::State& state) {
    parse(state, deck("\t", "\n", false));
}
void BM_ParseQuotedCsvDeck(benchmark::State& state) {
    parse(state, deck(",", "\r\n", true));
}
void BM_ParseParagraphDeck(benchmark::State& state) {
    parse(state, deck(" - ", "\n\n", false));
}

TestServer* server = nullptr;
QString token;
QJsonObject handle;

void BM_PreviewOverHttps(benchmark::State& state) {
    qint64 bytes = 0;
    for (auto _ : state) {
        const TestServer::Reply reply =
            server->api("POST", "/api/study-content/import/preview", token, handle);
        if (reply.status != 200) {
            state.SkipWithError("the preview did not answer 200");
            break;
        }
        bytes = reply.body.size();
    }
    state.counters["answer_bytes"] = double(bytes);
}

bool setUp() {
    if (!server->start())
        return false;
    token = server->sessionToken(server->signUp("bench@example.com", "study-hard-1"));
    handle = server
                 ->api("POST", "/api/study-content/import/initiate/paste", token,
                       {{"text", QString::fromUtf8(deck("\t", "\n", false))}})
                 .json();
    return handle.contains("import_id");
}

} // namespace

int main(int argc, char** argv) {
    return runLocalServerBenchmarks(argc, argv, server, setUp, "the deck",
                                    {{"BM_ParseTabDeck", BM_ParseTabDeck},
                                     {"BM_ParseQuotedCsvDeck", BM_ParseQuotedCsvDeck},
                                     {"BM_ParseParagraphDeck", BM_ParseParagraphDeck},
                                     {"BM_PreviewOverHttps", BM_PreviewOverHttps}});
}
