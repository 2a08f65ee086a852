#pragma once

#include "Card.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// One card of a mnemonic guide for the screens: its title, accent name and blocks.
class MnemonicCardModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Cards come from MnemonicContent.")
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QString accent READ accent CONSTANT)
    Q_PROPERTY(QList<QObject*> blocks READ blocks CONSTANT)
public:
    MnemonicCardModel(const Card& card, QObject* parent = nullptr);

    QString title() const { return title_; }
    QString accent() const { return accent_; }
    QList<QObject*> blocks() const { return blocks_; }

private:
    QString title_;
    QString accent_;
    QList<QObject*> blocks_;
};
