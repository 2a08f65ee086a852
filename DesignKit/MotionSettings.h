#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The desktop's reduce-motion setting. Linux has no single switch: animations are off when
// ORBELO_REDUCE_MOTION is set to 1 or true, or when the GTK settings say gtk-enable-animations=false.
class MotionSettings : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool reduceMotion READ reduceMotion WRITE setReduceMotion NOTIFY reduceMotionChanged)
public:
    explicit MotionSettings(QObject* parent = nullptr);

    bool reduceMotion() const { return reduceMotion_; }
    void setReduceMotion(bool reduce);

    // The decision for an environment value and the text of a GTK settings.ini.
    static bool reduceMotionFrom(const QByteArray& environmentValue, const QString& gtkSettings);

Q_SIGNALS:
    void reduceMotionChanged();

private:
    bool reduceMotion_ = false;
};
