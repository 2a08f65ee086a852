#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// Why an upload did not go through, as the one line the library shows.
class DocumentUploadError : public std::exception {
public:
    explicit DocumentUploadError(QString message) : message_(std::move(message)), what_(message_.toUtf8()) {}

    QString message() const { return message_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    QString message_;
    QByteArray what_;
};
