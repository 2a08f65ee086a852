#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <optional>

// How following a narration job can end without a playlist.
class NarrationJobError : public std::exception {
public:
    enum class Kind { failed, malformed, timedOut };

    // The job ended with status "failed", with the backend's text if it gave one.
    static NarrationJobError failed(std::optional<QString> message);
    // The job completed without a usable playlist.
    static NarrationJobError malformed();
    // The job did not finish within the poll limit.
    static NarrationJobError timedOut();

    Kind kind() const { return kind_; }
    const std::optional<QString>& message() const { return message_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    NarrationJobError(Kind kind, std::optional<QString> message);

    Kind kind_;
    std::optional<QString> message_;
    QByteArray what_;
};
