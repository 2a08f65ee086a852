#pragma once

#include "Terms/KeyTermEngine.h"

#include <QList>
#include <QString>
#include <QStringList>

// The sections of a reading (KeyTermEngine's) cut into passages of a few sentences, so that each
// Cornell cue covers about one idea, each with its note: the passage's sentences as they read on
// their own (StandaloneSentence), up to `maxNoteChars`.
struct ReadingOutline {
    static constexpr int maxNoteChars = 320;

    struct Passage {
        QString heading;
        QString note;
        QString opening;  // its first sentence as quoted
        QList<int> terms; // the key terms its sentences name, first named first
    };

    QStringList headings; // each once, in the order of the text
    QList<Passage> passages;

    static ReadingOutline of(const KeyTermEngine::Analysis& analysis);
};
