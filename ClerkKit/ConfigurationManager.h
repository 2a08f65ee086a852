#pragma once

#include "ConfigurationState.h"

// Holds the auth client's configuration, which can be set once.
class ConfigurationManager {
public:
    // Validates the key and derives the Frontend API URL; throws ClerkInitializationError.
    void configure(const QString& publishableKey, const ClerkOptions& options);
    const ConfigurationState& state() const { return state_; }

private:
    ConfigurationState state_;
};
