#include "ScannerCamera.h"

ScannerCamera::ScannerCamera(QObject* parent) : QObject(parent) {
    session_.setImageCapture(&imageCapture_);
    connect(&devices_, &QMediaDevices::videoInputsChanged, this, &ScannerCamera::devicesChanged);
    connect(&imageCapture_, &QImageCapture::imageCaptured, this,
            [this](int, const QImage& image) { Q_EMIT captured(image); });
    connect(&imageCapture_, &QImageCapture::errorOccurred, this,
            [this](int, QImageCapture::Error, const QString& message) { Q_EMIT captureFailed(message); });
}

void ScannerCamera::start() {
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
    session_.setVideoOutput(videoOutput);
}

void ScannerCamera::capture() {
    if (camera_ && imageCapture_.isReadyForCapture())
        imageCapture_.capture();
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
    session_.setCamera(camera_.get());
    camera_->start();
    Q_EMIT started();
}

void ScannerCamera::close() {
    session_.setCamera(nullptr);
    // Called from the camera's own error signal: delete it once that has returned.
    if (camera_)
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
