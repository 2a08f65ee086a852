#include "Logging.h"

Q_LOGGING_CATEGORY(lcAuth, "com.orbelo.desktop.Auth")
Q_LOGGING_CATEGORY(lcDocNarration, "com.orbelo.desktop.DocNarration")
Q_LOGGING_CATEGORY(lcUpdates, "com.orbelo.desktop.Updates")
Q_LOGGING_CATEGORY(lcNetwork, "com.orbelo.desktop.Network")
Q_LOGGING_CATEGORY(lcTasks, "com.orbelo.desktop.Tasks")
Q_LOGGING_CATEGORY(lcFocus, "com.orbelo.desktop.Focus")
Q_LOGGING_CATEGORY(lcRewards, "com.orbelo.desktop.Rewards")
