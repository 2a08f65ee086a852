#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Courses/ScannerCamera.h"
#include "Courses/SyllabusPageReader.h"

#include <QImage>
#include <QtQml/qqmlregistration.h>

// "Scan syllabus" with the webcam: pages are captured one by one into a strip, then read into
// text. The sheet ends with one outcome: scanned, failed or cancelled. Without a camera it offers
// to import photos instead; a camera lost mid-scan keeps the pages already captured.
class DocumentScannerModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool hasCamera READ hasCamera NOTIFY cameraChanged)
    Q_PROPERTY(QString cameraMessage READ cameraMessage NOTIFY cameraChanged)
    Q_PROPERTY(int pageCount READ pageCount NOTIFY pagesChanged)
    // A small picture of each page, as data URLs for Image.source.
    Q_PROPERTY(QStringList thumbnails READ thumbnails NOTIFY pagesChanged)
    Q_PROPERTY(bool canCapture READ canCapture NOTIFY stateChanged)
    Q_PROPERTY(bool canFinish READ canFinish NOTIFY stateChanged)
    Q_PROPERTY(bool isReading READ isReading NOTIFY stateChanged)
    Q_PROPERTY(QString progressText READ progressText NOTIFY progressTextChanged)
public:
    static inline const QString noCameraMessage = QStringLiteral("No camera was found on this computer.");
    static inline const QString startingMessage = QStringLiteral("Starting the camera…");

    // The computer's webcam and the app's recognizer.
    explicit DocumentScannerModel(QObject* parent = nullptr);
    // No webcam: the camera's events come through the camera… members.
    explicit DocumentScannerModel(std::shared_ptr<TextRecognizer> recognizer, QObject* parent = nullptr);

    bool hasCamera() const { return hasCamera_; }
    QString cameraMessage() const { return cameraMessage_; }
    int pageCount() const { return int(pages_.size()); }
    QStringList thumbnails() const { return thumbnails_; }
    bool canCapture() const { return hasCamera_ && !isReading(); }
    bool canFinish() const { return !pages_.isEmpty() && !isReading(); }
    bool isReading() const { return reader_.isReading(); }
    QString progressText() const { return reader_.progressText(); }

    // The sheet opened: no pages, the camera on.
    Q_INVOKABLE void begin();
    // The sheet closed: the camera off, any reading stopped.
    Q_INVOKABLE void end();
    Q_INVOKABLE void attachPreview(QObject* videoOutput);
    Q_INVOKABLE void capturePage();
    Q_INVOKABLE void removePage(int index);
    // Reads the pages; ends in scanned or failed.
    Q_INVOKABLE void done();
    // Stops reading and goes back to capturing, pages kept.
    Q_INVOKABLE void cancelReading();
    Q_INVOKABLE void cancel();
    Q_INVOKABLE void chooseImagesInstead();

    // What the camera reports (public for tests, which have no webcam).
    void cameraStarted();
    void cameraMissing();
    void cameraLost();
    void cameraFailed(const QString& message);
    void addPage(const QImage& page);

Q_SIGNALS:
    void cameraChanged();
    void pagesChanged();
    void stateChanged();
    void progressTextChanged();
    void scanned(const QString& text, int pageCount);
    void failed(const QString& error);
    void cancelled();
    void importImagesInstead();

private:
    DocumentScannerModel(std::shared_ptr<TextRecognizer> recognizer, std::unique_ptr<ScannerCamera> camera,
                         QObject* parent);
    void setCamera(bool available, const QString& message);

    std::unique_ptr<ScannerCamera> camera_;
    bool hasCamera_ = false;
    QString cameraMessage_ = noCameraMessage;
    QList<QImage> pages_;
    QStringList thumbnails_;
    SyllabusPageReader reader_;
};
