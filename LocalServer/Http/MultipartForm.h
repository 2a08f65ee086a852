#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>

// A multipart/form-data body: its text fields and its first file part.
class MultipartForm {
public:
    struct File {
        QString name;
        QString filename;
        QString contentType;
        QByteArray data;
    };

    QMap<QString, QString> fields;
    std::optional<File> file;

    // Nothing when the content type has no boundary or the body is malformed.
    static std::optional<MultipartForm> parse(const QByteArray& body, const QByteArray& contentType);
};
