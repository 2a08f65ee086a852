#pragma once

#include "JsonRecord.h"

#include <QString>

#include <exception>
#include <optional>

// One error of a Frontend API error answer, and the error thrown to callers for it.
struct ClerkAPIError : std::exception {
    struct Meta {
        std::optional<QString> paramName;
        JSON_RECORD(Meta, paramName)
    };

    QString code; // e.g. "form_param_value_invalid"
    std::optional<QString> message;
    std::optional<QString> longMessage;
    std::optional<Meta> meta;
    std::optional<QString> clerkTraceId; // copied from the answer's envelope
    JSON_RECORD(ClerkAPIError, code, message, longMessage, meta, clerkTraceId)

    // The long message, else the message, else the code.
    QString localizedDescription() const;
    const char* what() const noexcept override;

private:
    mutable QByteArray what_;
};
