#pragma once

#include <QString>

#include <exception>

namespace json {

// Why a value could not be decoded, with where (the coding path) and a developer-facing detail.
class DecodingError : public std::exception {
public:
    enum class Kind { keyNotFound, valueNotFound, typeMismatch, dataCorrupted };

    DecodingError(Kind kind, QString codingPath, QString debugDescription);

    Kind kind() const { return kind_; }
    const QString& codingPath() const { return codingPath_; }
    const QString& debugDescription() const { return debugDescription_; }
    // The user-facing sentence, as the platform words it for each kind.
    QString localizedDescription() const;
    const char* what() const noexcept override { return what_.constData(); }

private:
    Kind kind_;
    QString codingPath_;
    QString debugDescription_;
    QByteArray what_;
};

} // namespace json
