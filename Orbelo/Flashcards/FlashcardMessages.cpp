#include "Flashcards/FlashcardMessages.h"

#include "APIError.h"
#include "Common/FailureMessage.h"
#include "Text/SentenceText.h"

namespace {

enum class Failure { other, signedOut, notFound, rateLimited };

Failure classify(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const APIError& e) {
        if (e.kind() == APIError::Kind::unauthorized)
            return Failure::signedOut;
        if (e.kind() == APIError::Kind::server && e.status() == 404)
            return Failure::notFound;
        if (e.kind() == APIError::Kind::server && e.status() == 429)
            return Failure::rateLimited;
    } catch (...) {
    }
    return Failure::other;
}

} // namespace

QString FlashcardMessages::vocabularyLoadFailed(std::exception_ptr error) {
    return QStringLiteral("Couldn't load this course's vocabulary: ") +
           SentenceText::completed(FailureMessage::phrase(error));
}

QString FlashcardMessages::generationStarted(const QString& noun) {
    return QStringLiteral("No ") + noun +
           QStringLiteral(" for this course yet. We've started preparing it — check back in a minute.");
}

QString FlashcardMessages::generationFailed(std::exception_ptr error) {
    switch (classify(error)) {
    case Failure::signedOut:
        return QStringLiteral("Sign in to generate vocabulary for this course.");
    case Failure::notFound:
        return QStringLiteral(
            "We couldn't find this course on the server. Try reopening it from the Library tab.");
    case Failure::rateLimited:
        return QStringLiteral(
            "We're already preparing a lot of content for you. Try again in a few minutes.");
    case Failure::other:
        break;
    }
    return QStringLiteral("Couldn't start vocabulary generation: ") +
           SentenceText::completed(FailureMessage::phrase(error));
}

QString FlashcardMessages::cardsAdded(int count) {
    return QStringLiteral("Added %1 card%2 to your deck.").arg(count).arg(count == 1 ? "" : "s");
}
