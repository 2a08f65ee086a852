#pragma once

#include <QString>
#include <QStringView>

// A titled section of generated notes in light Markdown, with the plain-text form that is copied to
// the clipboard and read aloud.
struct NotesSection {
    QString title;
    QString systemImage;
    QString content;

    QString plainText() const { return plainText(content); }
    // Drops heading markers, a leading bullet marker and every "**" from each line.
    static QString plainText(QStringView markdown);
};
