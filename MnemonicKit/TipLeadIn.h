#pragma once

#include <QString>
#include <QStringView>

// The words that open a tip ("Tip:", "Remember -", "Exam hint", …).
class TipLeadIn {
public:
    // Whether a section's lower-cased plain text starts like a tip.
    static bool opens(QStringView lowerCasedText);
    // Removes the lead-in from the start of Markdown text, together with emphasis markers that wrap
    // only the lead-in ("**Tip:** text" and "**Tip**: text" both give "text").
    static QString remove(const QString& markdown);
};
