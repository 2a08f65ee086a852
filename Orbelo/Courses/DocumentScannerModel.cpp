#include "Courses/DocumentScannerModel.h"

#include "Courses/TextRecognizerProvider.h"
#include "ImagePageSource.h"

#include <QBuffer>

namespace {

QString thumbnailOf(const QImage& page) {
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    page.scaledToHeight(160, Qt::SmoothTransformation).save(&buffer, "JPEG", 80);
    return QStringLiteral("data:image/jpeg;base64,") + QString::fromLatin1(jpeg.toBase64());
}

QString lostMessage(int pageCount) {
    if (pageCount == 0)
        return QStringLiteral("The camera was disconnected.");
    if (pageCount == 1)
        return QStringLiteral("The camera was disconnected. Your page is kept — choose Done to read it.");
    return QStringLiteral("The camera was disconnected. Your %1 pages are kept — choose Done to read them.")
        .arg(pageCount);
}

} // namespace

DocumentScannerModel::DocumentScannerModel(QObject* parent)
    : DocumentScannerModel(TextRecognizerProvider::shared(), std::make_unique<ScannerCamera>(), parent) {
    connect(camera_.get(), &ScannerCamera::started, this, &DocumentScannerModel::cameraStarted);
    connect(camera_.get(), &ScannerCamera::missing, this, &DocumentScannerModel::cameraMissing);
    connect(camera_.get(), &ScannerCamera::lost, this, &DocumentScannerModel::cameraLost);
    connect(camera_.get(), &ScannerCamera::failed, this, &DocumentScannerModel::cameraFailed);
    // A still that failed leaves the camera usable: say why and let the user try again.
    connect(camera_.get(), &ScannerCamera::captureFailed, this,
            [this](const QString& message) { setCamera(hasCamera_, message); });
    connect(camera_.get(), &ScannerCamera::captured, this, &DocumentScannerModel::addPage);
}

DocumentScannerModel::DocumentScannerModel(std::shared_ptr<TextRecognizer> recognizer, QObject* parent)
    : DocumentScannerModel(std::move(recognizer), nullptr, parent) {}

DocumentScannerModel::DocumentScannerModel(std::shared_ptr<TextRecognizer> recognizer,
                                           std::unique_ptr<ScannerCamera> camera, QObject* parent)
    : QObject(parent), camera_(std::move(camera)), reader_(std::move(recognizer)) {
    connect(&reader_, &SyllabusPageReader::readingChanged, this, &DocumentScannerModel::stateChanged);
    connect(&reader_, &SyllabusPageReader::progressTextChanged, this,
            &DocumentScannerModel::progressTextChanged);
    connect(&reader_, &SyllabusPageReader::finished, this, &DocumentScannerModel::scanned);
    connect(&reader_, &SyllabusPageReader::failed, this,
            [this](const TextRecognitionError& error) { Q_EMIT failed(error.description()); });
}

void DocumentScannerModel::begin() {
    reader_.cancel();
    pages_.clear();
    thumbnails_.clear();
    Q_EMIT pagesChanged();
    Q_EMIT stateChanged();
    if (camera_) {
        setCamera(false, startingMessage);
        camera_->start();
    }
}

void DocumentScannerModel::end() {
    reader_.cancel();
    if (camera_)
        camera_->stop();
}

void DocumentScannerModel::attachPreview(QObject* videoOutput) {
    if (camera_)
        camera_->setPreview(videoOutput);
}

void DocumentScannerModel::capturePage() {
    if (camera_ && canCapture())
        camera_->capture();
}

void DocumentScannerModel::addPage(const QImage& page) {
    if (page.isNull() || isReading())
        return;
    pages_ << page;
    thumbnails_ << thumbnailOf(page);
    Q_EMIT pagesChanged();
    Q_EMIT stateChanged();
}

void DocumentScannerModel::removePage(int index) {
    if (index < 0 || index >= pages_.size() || isReading())
        return;
    pages_.removeAt(index);
    thumbnails_.removeAt(index);
    Q_EMIT pagesChanged();
    Q_EMIT stateChanged();
}

void DocumentScannerModel::done() {
    if (!canFinish())
        return;
    reader_.start(std::make_shared<ImagePageSource>(pages_));
}

void DocumentScannerModel::cancelReading() {
    reader_.cancel();
}

void DocumentScannerModel::cancel() {
    reader_.cancel();
    Q_EMIT cancelled();
}

void DocumentScannerModel::chooseImagesInstead() {
    Q_EMIT importImagesInstead();
}

void DocumentScannerModel::cameraStarted() {
    setCamera(true, {});
}

void DocumentScannerModel::cameraMissing() {
    setCamera(false, noCameraMessage);
}

void DocumentScannerModel::cameraLost() {
    setCamera(false, lostMessage(pageCount()));
}

void DocumentScannerModel::cameraFailed(const QString& message) {
    setCamera(false, message);
}

void DocumentScannerModel::setCamera(bool available, const QString& message) {
    hasCamera_ = available;
    cameraMessage_ = message;
    Q_EMIT cameraChanged();
    Q_EMIT stateChanged();
}
