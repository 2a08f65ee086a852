#include "Flashcards/VocabularyJson.h"

#include <QJsonObject>

namespace VocabularyJson {

QJsonArray records(const QList<KeyTermEngine::Term>& terms) {
    QJsonArray records;
    for (const KeyTermEngine::Term& term : terms) {
        const qsizetype rank = records.size();
        records.append(
            QJsonObject{{"term", term.term},
                        {"definition", term.definition},
                        {"importance", rank < highTerms                 ? "high"
                                       : rank < highTerms + mediumTerms ? "medium"
                                                                        : "low"},
                        {"context", term.context.isEmpty() ? QJsonValue::Null : QJsonValue(term.context)}});
    }
    return records;
}

} // namespace VocabularyJson
