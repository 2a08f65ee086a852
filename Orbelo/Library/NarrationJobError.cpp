#include "Library/NarrationJobError.h"

NarrationJobError::NarrationJobError(Kind kind, std::optional<QString> message)
    : kind_(kind), message_(std::move(message)) {
    switch (kind_) {
    case Kind::failed:
        what_ = "narration job failed: " + message_.value_or(QStringLiteral("no message")).toUtf8();
        break;
    case Kind::malformed:
        what_ = "narration job completed without a playlist";
        break;
    case Kind::timedOut:
        what_ = "narration job did not finish in time";
        break;
    }
}

NarrationJobError NarrationJobError::failed(std::optional<QString> message) {
    return NarrationJobError(Kind::failed, std::move(message));
}

NarrationJobError NarrationJobError::malformed() {
    return NarrationJobError(Kind::malformed, std::nullopt);
}

NarrationJobError NarrationJobError::timedOut() {
    return NarrationJobError(Kind::timedOut, std::nullopt);
}
