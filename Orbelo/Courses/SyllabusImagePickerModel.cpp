#include "Courses/SyllabusImagePickerModel.h"

#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>

SyllabusImagePickerModel::SyllabusImagePickerModel(QObject* parent)
    : SyllabusImagePickerModel(TextRecognizerProvider::shared(), TextRecognizerProvider::photoPages(),
                               parent) {}

SyllabusImagePickerModel::SyllabusImagePickerModel(std::shared_ptr<TextRecognizer> recognizer,
                                                   TextRecognizerProvider::PhotoPages photoPages,
                                                   QObject* parent)
    : QObject(parent), photoPages_(std::move(photoPages)), reader_(std::move(recognizer)) {
    connect(&reader_, &SyllabusPageReader::readingChanged, this, &SyllabusImagePickerModel::stateChanged);
    connect(&reader_, &SyllabusPageReader::progressTextChanged, this,
            &SyllabusImagePickerModel::progressTextChanged);
    connect(&reader_, &SyllabusPageReader::finished, this, &SyllabusImagePickerModel::recognized);
    connect(&reader_, &SyllabusPageReader::failed, this, [this](const TextRecognitionError& error) {
        Q_EMIT failed(error.kind() == TextRecognitionError::Kind::unreadableImage ? unreadableMessage
                                                                                  : error.description());
    });
}

QString SyllabusImagePickerModel::introText() const {
    return QStringLiteral("Pick up to ") + QString::number(maxPhotos) +
           QStringLiteral(" photos of your syllabus. ") +
           QStringLiteral("We read the text on your device, so the photos stay with you.");
}

QStringList SyllabusImagePickerModel::photoNames() const {
    QStringList names;
    for (const QString& path : paths_)
        names << QFileInfo(path).fileName();
    return names;
}

QStringList SyllabusImagePickerModel::nameFilters() const {
    return nameFiltersFor(QImageReader::supportedImageFormats());
}

QUrl SyllabusImagePickerModel::pickerFolder() const {
    return QUrl::fromLocalFile(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
}

QStringList SyllabusImagePickerModel::nameFiltersFor(const QList<QByteArray>& readableFormats) {
    QStringList patterns{QStringLiteral("*.png"),  QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"),
                         QStringLiteral("*.webp"), QStringLiteral("*.tif"), QStringLiteral("*.tiff")};
    for (const char* format : {"heic", "heif"}) {
        if (readableFormats.contains(format))
            patterns << QStringLiteral("*.") + QLatin1String(format);
    }
    return {QStringLiteral("Images (%1)").arg(patterns.join(QLatin1Char(' ')))};
}

void SyllabusImagePickerModel::begin() {
    reader_.cancel();
    setSelection({}, {});
}

void SyllabusImagePickerModel::choose(const QList<QUrl>& files) {
    if (isRecognizing())
        return;
    QStringList paths = paths_;
    int dropped = 0;
    for (const QUrl& file : files) {
        if (!file.isLocalFile() || paths.contains(file.toLocalFile()))
            continue;
        if (paths.size() < maxPhotos)
            paths << file.toLocalFile();
        else
            ++dropped;
    }
    setSelection(paths, dropped == 0 ? QString()
                                     : QStringLiteral("Only the first %1 photos are kept — that's as many as "
                                                      "we read at once.")
                                           .arg(maxPhotos));
}

void SyllabusImagePickerModel::removePhoto(int index) {
    if (index < 0 || index >= paths_.size() || isRecognizing())
        return;
    QStringList paths = paths_;
    paths.removeAt(index);
    setSelection(paths, {});
}

void SyllabusImagePickerModel::read() {
    if (!canRead())
        return;
    if (!photoPages_) {
        Q_EMIT failed(TextRecognizerProvider::unavailableMessage);
        return;
    }
    reader_.start(photoPages_(paths_));
}

void SyllabusImagePickerModel::cancelReading() {
    reader_.cancel();
}

void SyllabusImagePickerModel::cancel() {
    reader_.cancel();
    Q_EMIT cancelled();
}

void SyllabusImagePickerModel::setSelection(const QStringList& paths, const QString& note) {
    paths_ = paths;
    selectionNote_ = note;
    Q_EMIT selectionChanged();
    Q_EMIT stateChanged();
}
