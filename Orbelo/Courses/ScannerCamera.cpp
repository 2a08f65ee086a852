#include "Courses/ScannerCamera.h"

struct ScannerCamera::Session {
    QMediaDevices devices;
    QMediaCaptureSession capture;
    QImageCapture stills;
};

ScannerCamera::ScannerCamera(QObject* parent) : QObject(parent) {}

ScannerCamera::~ScannerCamera() = default;

void ScannerCamera::start() {
    if (!session_) {
        session_ = std::make_unique<Session>();
        session_->capture.setImageCapture(&session_->stills);
        session_->capture.setVideoOutput(preview_);
        connect(&session_->devices, &QMediaDevices::videoInputsChanged, this, &ScannerCamera::devicesChanged);
        connect(&session_->stills, &QImageCapture::imageCaptured, this,
                [this](int, const QImage& image) { Q_EMIT captured(image); });
        connect(&session_->stills, &QImageCapture::errorOccurred, this,
                [this](int, QImageCapture::Error, const QString& message) { Q_EMIT captureFailed(message); });
    }
    started_ = true;
    const QCameraDevice device = QMediaDevices::defaultVideoInput();
    if (device.isNull()) {
        Q_EMIT missing();
        return;
    }
    open(device);
}

void ScannerCamera::stop() {
    started_ = false;
    close();
}

void ScannerCamera::setPreview(QObject* videoOutput) {
    preview_ = videoOutput;
    if (session_)
        session_->capture.setVideoOutput(videoOutput);
}

void ScannerCamera::capture() {
    if (camera_ && session_->stills.isReadyForCapture())
        session_->stills.capture();
}

void ScannerCamera::open(const QCameraDevice& device) {
    camera_ = std::make_unique<QCamera>(device);
    connect(camera_.get(), &QCamera::errorOccurred, this,
            [this](QCamera::Error error, const QString& message) {
                if (error == QCamera::NoError)
                    return;
                close();
                Q_EMIT failed(message.isEmpty() ? QStringLiteral("The camera couldn't start.") : message);
            });
    // Started once the camera delivers pictures; opening one can take a few seconds.
    connect(camera_.get(), &QCamera::activeChanged, this, [this](bool active) {
        if (active)
            Q_EMIT started();
    });
    session_->capture.setCamera(camera_.get());
    camera_->start();
}

void ScannerCamera::close() {
    if (!camera_)
        return;
    session_->capture.setCamera(nullptr);
    // Called from the camera's own error signal: delete it once that has returned.
    camera_.release()->deleteLater();
}

void ScannerCamera::devicesChanged() {
    if (!started_)
        return;
    const QList<QCameraDevice> inputs = QMediaDevices::videoInputs();
    if (camera_ && !inputs.contains(camera_->cameraDevice())) {
        close();
        Q_EMIT lost();
    } else if (!camera_ && !inputs.isEmpty()) {
        open(QMediaDevices::defaultVideoInput());
    }
}
