#pragma once

#include <QNetworkReply>
#include <QString>

#include <exception>

// A failure to exchange a request with a server, before any usable HTTP status: the URL-loading
// error of the platform, with its code and its user-facing description.
class URLError : public std::exception {
public:
    enum class Code {
        timedOut,
        networkConnectionLost,
        cannotConnectToHost,
        cannotFindHost,
        notConnectedToInternet,
        secureConnectionFailed,
        httpTooManyRedirects,
        cancelled,
        unknown,
    };

    URLError(Code code, QString detail = {});

    static URLError fromReply(QNetworkReply::NetworkError error, const QString& errorString);

    Code code() const { return code_; }
    // The user-facing sentence ("The request timed out.").
    QString localizedDescription() const { return description_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    Code code_;
    QString description_;
    QByteArray what_;
};
