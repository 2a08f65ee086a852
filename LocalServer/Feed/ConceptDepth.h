#pragma once

#include <QString>

// How deep a concept of the user's notes goes, as the difficulty tier the app labels Intro (1),
// Core (2), Advanced (3) or Expert (4). A term the notes bring in early, use often, define
// briefly and name with everyday words is introductory; one that comes late, once, with a long
// definition and in uncommon words is for experts.
namespace ConceptDepth {
constexpr int tiers = 4;

struct Signals {
    double firstPosition = 0; // where the text first names the term, 0 (start) to 1 (end)
    int occurrences = 1;      // how often the text names it
    int definitionWords = 0;
    double uncommonShare = 0; // the share of the term's words that are not everyday words
};

// Each signal scaled to 0…1 and weighed: position 0.3, definition length 0.25 (30 words or more
// count fully), uncommon words 0.25, rarity of use 0.2 (named five times or more counts as 0).
int tier(const Signals& measured);
Signals measure(const QString& term, const QString& definition, const QString& text);
} // namespace ConceptDepth
