#include "PrivateSoundServer.h"

#include <QFile>
#include <QTest>

#include <cmath>

PrivateSoundServer::PrivateSoundServer(const QString& dir)
    : dir_(dir), socket_(dir + QStringLiteral("/pulse.sock")) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir);
    server_.setProcessEnvironment(env);
    server_.start(QStringLiteral("pulseaudio"),
                  {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                   QStringLiteral("--exit-idle-time=-1"), QStringLiteral("-L"),
                   QStringLiteral("module-null-sink sink_name=null rate=%1").arg(sampleRate),
                   QStringLiteral("-L"),
                   QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket_});
    qputenv("PULSE_SERVER", ("unix:" + socket_).toUtf8());
    for (int attempt = 0; attempt < 100 && server_.state() != QProcess::NotRunning && !QFile::exists(socket_);
         ++attempt)
        QTest::qWait(50);
}

PrivateSoundServer::~PrivateSoundServer() {
    stopRecording();
    server_.terminate();
    server_.waitForFinished(5000);
}

bool PrivateSoundServer::isRunning() const {
    return server_.state() == QProcess::Running && QFile::exists(socket_);
}

QString PrivateSoundServer::failure() {
    const QString said = QString::fromLocal8Bit(server_.readAllStandardError()).trimmed();
    return said.isEmpty() ? server_.errorString() : said;
}

void PrivateSoundServer::startRecording() {
    recorder_.start(QStringLiteral("parecord"),
                    {QStringLiteral("--device=null.monitor"), QStringLiteral("--raw"),
                     QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                     QStringLiteral("--rate=%1").arg(sampleRate), dir_ + QStringLiteral("/recording.raw")});
    recorder_.waitForStarted();
}

QList<double> PrivateSoundServer::stopRecording() {
    if (recorder_.state() == QProcess::NotRunning)
        return {};
    recorder_.terminate();
    recorder_.waitForFinished(5000);
    QFile file(dir_ + QStringLiteral("/recording.raw"));
    file.open(QIODevice::ReadOnly);
    const QByteArray raw = file.readAll();
    QList<double> samples;
    for (qsizetype i = 0; i + 1 < raw.size(); i += 2)
        samples.append(qint16(quint8(raw[i]) | (quint8(raw[i + 1]) << 8)) / 32768.0);
    return samples;
}

QByteArray PrivateSoundServer::tone(const QString& dir, const QString& name, double frequency,
                                    double seconds) {
    const QString path = dir + '/' + name;
    QProcess::execute(QStringLiteral("sox"),
                      {QStringLiteral("-n"), QStringLiteral("-r"), QString::number(sampleRate),
                       QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-b"), QStringLiteral("16"),
                       path, QStringLiteral("synth"), QString::number(seconds), QStringLiteral("sine"),
                       QString::number(frequency), QStringLiteral("vol"), QStringLiteral("0.5")});
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QList<double> PrivateSoundServer::audible(const QList<double>& samples) {
    qsizetype first = 0;
    qsizetype last = samples.size() - 1;
    while (first < samples.size() && std::abs(samples[first]) < 0.05)
        ++first;
    while (last > first && std::abs(samples[last]) < 0.05)
        --last;
    return samples.mid(first, last - first + 1);
}

double PrivateSoundServer::longestSilenceMs(const QList<double>& samples) {
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const double s : samples) {
        run = std::abs(s) < 0.02 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return 1000.0 * double(longest) / sampleRate;
}

double PrivateSoundServer::frequency(const QList<double>& samples) {
    int crossings = 0;
    for (qsizetype i = 1; i < samples.size(); ++i)
        crossings += (samples[i - 1] < 0) != (samples[i] < 0);
    return crossings / 2.0 / (double(samples.size()) / sampleRate);
}
