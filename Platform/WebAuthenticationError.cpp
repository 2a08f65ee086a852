#include "WebAuthenticationError.h"

WebAuthenticationError::WebAuthenticationError(Code code) : code_(code) {
    what_ = localizedDescription().toUtf8();
}

QString WebAuthenticationError::localizedDescription() const {
    switch (code_) {
    case Code::canceledLogin:
        return QStringLiteral("The sign-in was cancelled.");
    case Code::cannotOpenBrowser:
        return QStringLiteral("Couldn't open your web browser.");
    case Code::missingCallbackURL:
        return QStringLiteral("Missing callback URL");
    }
    return {};
}
