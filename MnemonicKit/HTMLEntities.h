#pragma once

#include <QString>
#include <QStringView>

// Decodes the handful of entities that generated guides use. "&amp;" is decoded last, so an
// encoded entity ("&amp;lt;") comes out one level decoded ("&lt;"). Anything else stays as written.
class HTMLEntities {
public:
    static QString decode(QStringView text);
};
