#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The speech engines and voices this machine has, as narration and songs can use them.
struct InstalledVoices {
    QStringList festivalVoices; // English HTS voices, empty unless festival and text2wave are on PATH
    QStringList fliteVoices;    // empty unless flite is on PATH
    bool espeak = false;

    static constexpr auto festivalVoicesDir = "/usr/share/festival/voices";

    // Looks on PATH and in festival's voices folder, and asks flite for its voices.
    static InstalledVoices probe();
    // The English HTS voices under `voicesDir` (<language>/<name>/) whose definition and model are
    // both there, sorted by name.
    static QStringList festivalHtsVoices(const QString& voicesDir);
    // The voices in `flite -lv`'s answer.
    static QStringList fliteVoicesIn(const QByteArray& listing);
};
