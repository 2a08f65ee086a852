// Mnemonic generation: each kind made from twelve defined terms at the hardest level (the most
// terms and text), the acronym's search over every order of eight letters that make no word (its
// worst case), and an inline acronym request for a processed document as an HTTPS round trip
// against an in-process local server (term extraction, generation and the client's decoding
// included). Run by hand, never by ctest.
#include "LocalServerBench.h"
#include "Mnemonics/AcronymOrder.h"
#include "Mnemonics/MnemonicGenerator.h"
#include "Terms/CommonWords.h"

namespace {

TestServer* server = nullptr;
QString token;
QString documentId;

const QList<KeyTerm>& terms() {
    static const QList<KeyTerm> list{
        {"osmosis",
         "The movement of water across a membrane from a dilute solution to a concentrated one",
         {}},
        {"membrane",
         "A thin layer of lipids and proteins that separates the inside of a cell from its surroundings",
         {}},
        {"active transport",
         "The pumping of molecules against their concentration gradient using energy from ATP",
         {}},
        {"diffusion", "The net spread of particles from where they are crowded to where they are sparse", {}},
        {"turgor pressure", "The push of water in the central vacuole against the cell wall of a plant", {}},
        {"enzyme", "A protein that speeds up a chemical reaction without being used up", {}},
        {"glucose", "A simple sugar that cells break down for energy", {}},
        {"ribosome", "A small structure that builds proteins from amino acids", {}},
        {"nucleus", "The part of the cell that holds its genetic material", {}},
        {"xylem", "The tissue that carries water up from the roots", {}},
        {"chlorophyll", "The green pigment that captures light for photosynthesis", {}},
        {"stomata", "Tiny pores in a leaf through which gases pass", {}}};
    return list;
}

void generate(benchmark::State& state, const QString& type) {
    CommonWords::instance(); // the word list is read once per process, before the first mnemonic
    qsizetype bytes = 0;
    for (auto _ : state)
        bytes = MnemonicGenerator::generate({type, "hard", "cell biology", terms()}).html.size();
    state.counters["html_bytes"] = double(bytes);
}

void BM_Acronym(benchmark::State& state) {
    generate(state, "acronym");
}
void BM_Acrostic(benchmark::State& state) {
    generate(state, "acrostic");
}
void BM_Rhyme(benchmark::State& state) {
    generate(state, "rhyme");
}
void BM_Story(benchmark::State& state) {
    generate(state, "story");
}
void BM_MemoryPalace(benchmark::State& state) {
    generate(state, "method_of_loci");
}

void BM_AcronymOrderNoWord(benchmark::State& state) {
    CommonWords::instance();
    for (auto _ : state)
        benchmark::DoNotOptimize(AcronymOrder::best("bcdfghjk"));
}

void BM_InlineAcronymRequest(benchmark::State& state) {
    const QJsonObject body{
        {"mnemonic_type", "acronym"}, {"difficulty", "hard"}, {"store", false}, {"document_id", documentId}};
    for (auto _ : state) {
        if (server->api("POST", "/api/v1/learning-content/mnemonic", token, body).status != 200) {
            state.SkipWithError("the request did not answer 200");
            break;
        }
    }
}

bool setUp() {
    if (!server->start())
        return false;
    token = server->sessionToken(server->signUp("bench@example.com", "study-hard-1"));
    const QString course = server->addCourse(token, "BIOL 110");
    QStringList paragraphs;
    for (const KeyTerm& term : terms())
        paragraphs.append(term.term + " is " + term.definition.at(0).toLower() + term.definition.mid(1) +
                          ". Every week the lecture came back to " + term.term + '.');
    documentId =
        server->uploadDocument(token, paragraphs.join("\n\n").toUtf8(), "notes.txt", "text/plain", course);
    return server->waitForProcessing(documentId, token).value("status").toString() == "complete";
}

} // namespace

int main(int argc, char** argv) {
    return runLocalServerBenchmarks(argc, argv, server, setUp, "its document",
                                    {{"BM_Acronym", BM_Acronym},
                                     {"BM_Acrostic", BM_Acrostic},
                                     {"BM_Rhyme", BM_Rhyme},
                                     {"BM_Story", BM_Story},
                                     {"BM_MemoryPalace", BM_MemoryPalace},
                                     {"BM_AcronymOrderNoWord", BM_AcronymOrderNoWord},
                                     {"BM_InlineAcronymRequest", BM_InlineAcronymRequest}});
}
