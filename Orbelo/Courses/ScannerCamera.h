#pragma once

#include <QCamera>
#include <QImageCapture>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QObject>
#include <QPointer>

#include <memory>

// The webcam behind the syllabus scanner: the default video input with a live preview and still
// captures to memory. It follows the computer's cameras while started, so a camera unplugged
// mid-scan is reported as lost and one plugged in later is opened. The multimedia side is set up
// on the first start, not when the sheet is created.
class ScannerCamera : public QObject {
    Q_OBJECT
public:
    explicit ScannerCamera(QObject* parent = nullptr);
    ~ScannerCamera() override;

    // Opens the default camera: started() once it shows pictures, or missing() when there is none.
    void start();
    // Closes the camera; nothing is reported until the next start.
    void stop();
    // A QML VideoOutput (or any video sink) that shows what the camera sees.
    void setPreview(QObject* videoOutput);
    // A still of the camera's picture, reported by captured().
    void capture();

Q_SIGNALS:
    void started();
    void missing();
    void lost();
    // The camera's own description of a failure: no permission, in use elsewhere…
    void failed(const QString& message);
    void captureFailed(const QString& message);
    void captured(const QImage& page);

private:
    struct Session;
    void open(const QCameraDevice& device);
    void close();
    void devicesChanged();

    std::unique_ptr<Session> session_;
    std::unique_ptr<QCamera> camera_;
    QPointer<QObject> preview_;
    bool started_ = false;
};
