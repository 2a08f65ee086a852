#pragma once

#include "Songs/SongArrangement.h"
#include "Songs/SongLyricsWriter.h"
#include "Speech/SpeechVoice.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Turns study text into a short song: lyrics around its key terms, a vocal sung or spoken in time to
// a melody, a backing track in the chosen genre, mixed and encoded as Ogg Vorbis. Runs on a job
// thread; one call is one song.
class SongComposer {
public:
    struct Request {
        QString title;          // shown in the lyrics' heading, e.g. the document's title
        QString text;           // the document's text (or notes) the song is written from
        QStringList keyIdeas;   // what the student asked the song to focus on; may be empty
        QString genre;          // "hip-hop", "rock", "lo-fi", "acoustic" or "country"
        int targetSeconds = 60; // the song's length, near enough (whole bars)
        SpeechVoice voice;      // who sings: the server's voice; espeak-ng unless told
    };

    struct Song {
        QString lyrics; // the text the lyrics view parses: metadata, [Section] markers, a takeaway
        int tempoBpm = 0;
        qint64 durationMs = 0;
        QString audioPath; // the finished .ogg, in the directory given to compose
    };

    struct Written {
        SongLyricsWriter::Lyrics lyrics;
        SongArrangement arrangement;
    };

    static QStringList genres();

    // The song's lyrics alone, as compose would sing them; nothing, with a message in `error`, when
    // the genre is unknown or the text has nothing to sing about.
    static std::optional<Written> writeLyrics(const Request& request, QString* error);

    // Writes the song into `directory` (which must exist). `cancelled` is polled between stages.
    // Nothing on failure, with a message in `error` that can be shown to the student.
    static std::optional<Song> compose(const Request& request, const QString& directory,
                                       const std::function<bool()>& cancelled, QString* error);
};
