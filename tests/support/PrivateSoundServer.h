#pragma once

#include <QList>
#include <QProcess>
#include <QString>

// A PulseAudio of the caller's own with a null sink, and a recorder on that sink's monitor, so that
// playback can be measured on a machine without a sound card. It points this process's audio at
// itself (PULSE_SERVER).
class PrivateSoundServer {
public:
    static constexpr int sampleRate = 22050;

    // Starts the server with its socket and files in `dir`.
    explicit PrivateSoundServer(const QString& dir);
    ~PrivateSoundServer();

    bool isRunning() const;
    // Why the server is not running, in its own words.
    QString failure();

    void startRecording();
    // The recorded samples, -1 to 1.
    QList<double> stopRecording();

    // A 16-bit mono WAV of a sine at `frequency` and half of full scale, made by sox in `dir`.
    static QByteArray tone(const QString& dir, const QString& name, double frequency, double seconds);
    // The sound between the first and the last audible sample.
    static QList<double> audible(const QList<double>& samples);
    // The longest run of near-silence, in milliseconds. A sine at 0.5 stays under the threshold
    // for a sample or two around each zero crossing only.
    static double longestSilenceMs(const QList<double>& samples);
    static double frequency(const QList<double>& samples);

private:
    QString dir_;
    QString socket_;
    QProcess server_;
    QProcess recorder_;
};
