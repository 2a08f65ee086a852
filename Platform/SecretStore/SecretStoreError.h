#pragma once

#include <QString>

#include <exception>

// Why the secure storage could not read, write or remove an item.
class SecretStoreError : public std::exception {
public:
    explicit SecretStoreError(QString description)
        : description_(std::move(description)), what_(description_.toUtf8()) {}

    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    QString description_;
    QByteArray what_;
};
