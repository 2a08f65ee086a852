#pragma once

#include <QList>
#include <QStringView>

// Splits an HTML fragment into its top-level div elements. Every "<div" opening tag and "</div"
// closing tag moves a depth counter, so nested divs never end a section early; a section left open
// runs to the end of the fragment, and text outside every section is skipped.
class HTMLSectionSplitter {
public:
    struct Section {
        QStringView openingTag;
        QStringView inner;
    };

    static QList<Section> split(QStringView html);
};
