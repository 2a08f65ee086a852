#pragma once

#include "User/UserInterest.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The fixed list of things a user can say they are into, grouped in categories. An interest is
// its name alone: a name listed in two categories ("Formula 1") is one interest.
class InterestCatalog : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // Each category as {name, symbol, items} for the chips view.
    Q_PROPERTY(QVariantList categories READ categoryList CONSTANT)
public:
    struct Category {
        QString name;
        QString symbol;
        QStringList items;
    };

    explicit InterestCatalog(QObject* parent = nullptr) : QObject(parent) {}

    static const QList<Category>& all();
    // Every interest once, in catalogue order.
    static QStringList allNames();
    static bool contains(const QString& name);
    // The profile's form of a selection: one entry per category that holds a chosen name, its
    // items in catalogue order; a name in two categories appears under both. Names outside the
    // catalogue are left out.
    static QList<UserInterest> profileInterests(const QSet<QString>& selection);
    // The selection a profile's entries stand for: every catalogue name listed under any category.
    static QSet<QString> selection(const QList<UserInterest>& profileInterests);

    QVariantList categoryList() const;
};
