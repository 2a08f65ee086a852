#pragma once

#include <QString>
#include <QStringView>

// The colour family of a mnemonic card, taken from the background of its section.
enum class MnemonicAccent { orange, green, blue, purple, yellow, neutral };

QString rawValue(MnemonicAccent accent);

// Maps a background colour ("#FFF3E0", " e8f5e9 ") to its accent; unknown colours are neutral.
MnemonicAccent mnemonicAccentForBackground(QStringView colour);
