#pragma once

#include <QString>

#include <exception>

// Why pages could not be read: a page that is not a usable image, a PDF that does not open, or
// a recognition engine that cannot start (its language data missing).
class TextRecognitionError : public std::exception {
public:
    enum class Kind { unreadableImage, unreadablePdf, engineUnavailable };

    TextRecognitionError(Kind kind, QString description)
        : kind_(kind), description_(std::move(description)), what_(description_.toUtf8()) {}

    Kind kind() const { return kind_; }
    QString description() const { return description_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    Kind kind_;
    QString description_;
    QByteArray what_;
};
