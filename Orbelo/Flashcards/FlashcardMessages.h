#pragma once

#include <QString>

#include <exception>

// The status lines of the Cards tab that describe a failure, and the rules that word them.
namespace FlashcardMessages {

QString vocabularyLoadFailed(std::exception_ptr error);
// What became of asking for a course's vocabulary; `noun` is what the deck lacked.
QString generationStarted(const QString& noun);
QString generationFailed(std::exception_ptr error);
// "Added 3 cards to your deck."
QString cardsAdded(int count);

} // namespace FlashcardMessages
