#include "MotionSettings.h"

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

MotionSettings::MotionSettings(QObject* parent) : QObject(parent) {
    QString gtk;
    QFile file(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/gtk-3.0/settings.ini"));
    if (file.open(QIODevice::ReadOnly))
        gtk = QString::fromUtf8(file.readAll());
    reduceMotion_ = reduceMotionFrom(qgetenv("ORBELO_REDUCE_MOTION"), gtk);
}

void MotionSettings::setReduceMotion(bool reduce) {
    if (reduce == reduceMotion_)
        return;
    reduceMotion_ = reduce;
    Q_EMIT reduceMotionChanged();
}

bool MotionSettings::reduceMotionFrom(const QByteArray& environmentValue, const QString& gtkSettings) {
    const QByteArray env = environmentValue.trimmed().toLower();
    if (env == "1" || env == "true")
        return true;
    if (env == "0" || env == "false")
        return false;
    static const QRegularExpression animations(
        QStringLiteral("^\\s*gtk-enable-animations\\s*=\\s*(\\S+)\\s*$"),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = animations.match(gtkSettings);
    if (!match.hasMatch())
        return false;
    const QString value = match.captured(1).toLower();
    return value == QLatin1String("false") || value == QLatin1String("0");
}
