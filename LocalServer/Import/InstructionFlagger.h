#pragma once

#include <QString>
#include <optional>

// Decks copied from others sometimes carry text written to steer an AI model ("ignore all
// previous instructions", "you are now …"). Cards with such text are flagged, with the reason
// shown to the student, and left out of an import unless the student keeps them.
class InstructionFlagger {
public:
    // The reason the card reads like an instruction to an AI, or nothing.
    static std::optional<QString> reasonToFlag(const QString& term, const QString& definition);
};
