#include "Flashcards/FlashcardReviewSession.h"

#include "Common/FailureMessage.h"
#include "Flashcards/FlashcardsAPI.h"
#include "PreferencesStore.h"

FlashcardReviewSession::FlashcardReviewSession(APIClient client, PreferencesStore& preferences,
                                               QObject* parent)
    : FlashcardDeckCursor(parent), client_(std::move(client)), preferences_(&preferences) {}

bool FlashcardReviewSession::promptWithBack() const {
    return preferences_->boolValue(promptWithBackKey, true);
}

void FlashcardReviewSession::setPromptWithBack(bool on) {
    if (on == promptWithBack())
        return;
    preferences_->setValue(promptWithBackKey, on);
    Q_EMIT promptWithBackChanged();
    Q_EMIT cardChanged();
}

QString FlashcardReviewSession::promptToggleLabel() const {
    return promptWithBack() ? QStringLiteral("Study definition first") : QStringLiteral("Study term first");
}

QString FlashcardReviewSession::promptToggleHint() const {
    return promptWithBack()
               ? QStringLiteral("You'll see the definition (or answer) and recall the term. Turn "
                                "off to see the term first.")
               : QStringLiteral("You'll see the term first, then flip for the definition.");
}

QVariantList FlashcardReviewSession::ratings() {
    const auto rating = [](Rating value, const QString& name, const QString& hint) {
        const int quality = int(value);
        return QVariantMap{
            {QStringLiteral("quality"), quality},
            {QStringLiteral("name"), name},
            {QStringLiteral("accessibleName"), QStringLiteral("Rate this card as ") + name.toLower()},
            {QStringLiteral("hint"), hint},
            {QStringLiteral("key"), QString::number(quality + 1)}};
    };
    return {rating(Rating::again, QStringLiteral("Again"),
                   QStringLiteral("You'll see this card again very soon.")),
            rating(Rating::hard, QStringLiteral("Hard"),
                   QStringLiteral("Schedules the card for a shorter interval.")),
            rating(Rating::good, QStringLiteral("Good"),
                   QStringLiteral("Schedules the card for the next normal interval.")),
            rating(Rating::easy, QStringLiteral("Easy"),
                   QStringLiteral("Schedules the card for a longer interval."))};
}

void FlashcardReviewSession::start(const QList<Flashcard>& cards) {
    tasks_.cancelAll();
    setReviewing(false);
    setErrorMessage({});
    setCards(cards);
}

void FlashcardReviewSession::rate(int quality) {
    const std::optional<Flashcard> card = current();
    if (!card || isReviewing_ || quality < int(Rating::again) || quality > int(Rating::easy))
        return;
    setReviewing(true);
    setErrorMessage({});
    tasks_.spawn(send(this, *card, quality), async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                     setErrorMessage(FailureMessage::describe(error));
                     setReviewing(false);
                 }));
}

async::Task<void> FlashcardReviewSession::send(FlashcardReviewSession* self, Flashcard card, int quality) {
    const FlashcardsAPI api(self->client_);
    const FlashcardReviewRequest body = request(card, quality);
    co_await api.review(card.id, body);
    self->setReviewing(false);
    self->advance();
}

void FlashcardReviewSession::advance() {
    Q_EMIT stopReadingAloud();
    if (index() + 1 >= count()) {
        Q_EMIT finished();
        return;
    }
    show(index() + 1);
}

FlashcardReviewRequest FlashcardReviewSession::request(const Flashcard& card, int quality) {
    const auto present = [](const QString& text) {
        return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
    };
    FlashcardReviewRequest request;
    request.quality = quality;
    request.front = present(withoutContext(card.front));
    request.back = present(withoutContext(card.back));
    request.hint = card.hint;
    request.hintSource = card.hintSource;
    return request;
}

QString FlashcardReviewSession::withoutContext(const QString& text) {
    const qsizetype marker = text.indexOf(QStringLiteral("In context:"), 0, Qt::CaseInsensitive);
    return marker < 0 ? text : text.left(marker).trimmed();
}

void FlashcardReviewSession::setReviewing(bool reviewing) {
    if (reviewing == isReviewing_)
        return;
    isReviewing_ = reviewing;
    Q_EMIT isReviewingChanged();
}

void FlashcardReviewSession::setErrorMessage(const QString& message) {
    if (message == errorMessage_)
        return;
    errorMessage_ = message;
    Q_EMIT errorMessageChanged();
}
