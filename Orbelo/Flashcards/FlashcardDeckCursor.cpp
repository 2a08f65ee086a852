#include "Flashcards/FlashcardDeckCursor.h"

#include <QHash>

namespace {

bool isVocabulary(const Flashcard& card) {
    return card.id.startsWith(QStringLiteral("vocab_"));
}

QString frontName(const Flashcard& card) {
    return isVocabulary(card) ? QStringLiteral("Term") : QStringLiteral("Question");
}

QString backName(const Flashcard& card) {
    return isVocabulary(card) ? QStringLiteral("Definition") : QStringLiteral("Answer");
}

QString joinedLine(const QString& label, const std::optional<QList<QString>>& words) {
    if (!words || words->isEmpty())
        return {};
    return label + words->join(QStringLiteral(", "));
}

bool hasSynonyms(const Flashcard& card) {
    return (card.synonyms && !card.synonyms->isEmpty()) || (card.antonyms && !card.antonyms->isEmpty()) ||
           (card.relatedTerms && !card.relatedTerms->isEmpty());
}

} // namespace

QString FlashcardDeckCursor::progressText() const {
    if (cards_.isEmpty())
        return {};
    return QStringLiteral("Card %1 of %2").arg(index_ + 1).arg(cards_.size());
}

std::optional<Flashcard> FlashcardDeckCursor::current() const {
    if (index_ < 0 || index_ >= cards_.size())
        return std::nullopt;
    return cards_.at(index_);
}

QVariantMap FlashcardDeckCursor::card() const {
    const std::optional<Flashcard> card = current();
    if (!card)
        return {};
    QStringList synonyms;
    for (const SynonymItem& item : card->synonyms.value_or(QList<SynonymItem>()))
        synonyms << item.synonym;
    return {{QStringLiteral("id"), card->id},
            {QStringLiteral("front"), card->front},
            {QStringLiteral("back"), card->back},
            {QStringLiteral("hint"), card->hint.value_or(QString())},
            {QStringLiteral("hintFromMnemonic"), card->hintSource == QStringLiteral("mnemonic")},
            {QStringLiteral("synonyms"), synonyms},
            {QStringLiteral("antonymsLine"), joinedLine(QStringLiteral("Antonyms: "), card->antonyms)},
            {QStringLiteral("relatedLine"), joinedLine(QStringLiteral("Related: "), card->relatedTerms)},
            {QStringLiteral("hasSynonyms"), hasSynonyms(*card)},
            {QStringLiteral("frontName"), frontName(*card)},
            {QStringLiteral("backName"), backName(*card)}};
}

QString FlashcardDeckCursor::shownText() const {
    const std::optional<Flashcard> card = current();
    if (!card)
        return {};
    return backIsUp() ? card->back : card->front;
}

QString FlashcardDeckCursor::shownSide() const {
    const std::optional<Flashcard> card = current();
    if (!card)
        return {};
    return backIsUp() ? backName(*card) : frontName(*card);
}

QString FlashcardDeckCursor::bothSidesText() const {
    const std::optional<Flashcard> card = current();
    if (!card)
        return {};
    const QString first = opensOnBack() ? card->back : card->front;
    const QString second = opensOnBack() ? card->front : card->back;
    return first.trimmed() + QStringLiteral("\n\n") + second.trimmed();
}

void FlashcardDeckCursor::flip() {
    if (!current())
        return;
    isFlipped_ = !isFlipped_;
    Q_EMIT cardChanged();
}

void FlashcardDeckCursor::revealHint() {
    const std::optional<Flashcard> card = current();
    if (!card || !card->hint || card->hint->isEmpty() || isHintShown_)
        return;
    isHintShown_ = true;
    Q_EMIT cardChanged();
}

void FlashcardDeckCursor::toggleSynonyms() {
    const std::optional<Flashcard> card = current();
    if (!card || !hasSynonyms(*card))
        return;
    areSynonymsShown_ = !areSynonymsShown_;
    Q_EMIT cardChanged();
}

void FlashcardDeckCursor::mergeSynonyms(const QList<VocabularyTerm>& terms) {
    if (mergeSynonyms(cards_, terms))
        Q_EMIT cardChanged();
}

bool FlashcardDeckCursor::mergeSynonyms(QList<Flashcard>& cards, const QList<VocabularyTerm>& terms) {
    QHash<QString, VocabularyTerm> byTerm;
    for (const VocabularyTerm& term : terms)
        byTerm.insert(term.term, term);
    bool changed = false;
    for (Flashcard& card : cards) {
        const auto found = byTerm.constFind(card.front);
        if (found == byTerm.constEnd())
            continue;
        card.synonyms = found->synonyms;
        card.antonyms = found->antonyms;
        card.relatedTerms = found->relatedTerms;
        changed = true;
    }
    return changed;
}

void FlashcardDeckCursor::setCards(const QList<Flashcard>& cards) {
    cards_ = cards;
    Q_EMIT cardsChanged();
    show(0);
}

void FlashcardDeckCursor::show(int index) {
    index_ = index;
    isFlipped_ = false;
    isHintShown_ = false;
    areSynonymsShown_ = false;
    Q_EMIT cardChanged();
}
