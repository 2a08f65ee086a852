#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Courses/SyllabusPageReader.h"
#include "Courses/TextRecognizerProvider.h"

#include <QUrl>
#include <QtQml/qqmlregistration.h>

// "Import syllabus image": up to ten photos of a syllabus, read into text on this computer, one
// page per photo. The sheet ends with one outcome: recognized, failed or cancelled.
class SyllabusImagePickerModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString introText READ introText CONSTANT)
    Q_PROPERTY(QStringList photoNames READ photoNames NOTIFY selectionChanged)
    // Why some of the chosen photos were left out, else empty.
    Q_PROPERTY(QString selectionNote READ selectionNote NOTIFY selectionChanged)
    Q_PROPERTY(bool canRead READ canRead NOTIFY stateChanged)
    Q_PROPERTY(bool isRecognizing READ isRecognizing NOTIFY stateChanged)
    Q_PROPERTY(QString progressText READ progressText NOTIFY progressTextChanged)
    Q_PROPERTY(QStringList nameFilters READ nameFilters CONSTANT)
    Q_PROPERTY(QUrl pickerFolder READ pickerFolder CONSTANT)
public:
    static constexpr int maxPhotos = 10;
    static inline const QString unreadableMessage =
        QStringLiteral("We couldn't open those photos. Try picking them again.");

    // The app's recognizer and photo loader.
    explicit SyllabusImagePickerModel(QObject* parent = nullptr);
    SyllabusImagePickerModel(std::shared_ptr<TextRecognizer> recognizer,
                             TextRecognizerProvider::PhotoPages photoPages, QObject* parent = nullptr);

    QString introText() const;
    // The chosen photos' paths, in the order they are read.
    QStringList selection() const { return paths_; }
    QStringList photoNames() const;
    QString selectionNote() const { return selectionNote_; }
    bool canRead() const { return !paths_.isEmpty() && !isRecognizing(); }
    bool isRecognizing() const { return reader_.isReading(); }
    QString progressText() const { return reader_.progressText(); }
    QStringList nameFilters() const;
    // Where the picker opens: the user's pictures folder.
    QUrl pickerFolder() const;

    // The picker's filter for the image formats given: PNG, JPEG, WebP and TIFF, and HEIC/HEIF
    // where an image plugin reads them.
    static QStringList nameFiltersFor(const QList<QByteArray>& readableFormats);

    // The sheet opened: nothing chosen.
    Q_INVOKABLE void begin();
    // Adds photos from the picker after those already chosen, up to the limit.
    Q_INVOKABLE void choose(const QList<QUrl>& files);
    Q_INVOKABLE void removePhoto(int index);
    // Reads the photos; ends in recognized or failed.
    Q_INVOKABLE void read();
    // Stops reading and goes back to the chosen photos.
    Q_INVOKABLE void cancelReading();
    Q_INVOKABLE void cancel();

Q_SIGNALS:
    void selectionChanged();
    void stateChanged();
    void progressTextChanged();
    void recognized(const QString& text, int pageCount);
    void failed(const QString& message);
    void cancelled();

private:
    void setSelection(const QStringList& paths, const QString& note);

    TextRecognizerProvider::PhotoPages photoPages_;
    QStringList paths_;
    QString selectionNote_;
    SyllabusPageReader reader_;
};
