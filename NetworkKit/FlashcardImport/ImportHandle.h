#pragma once

#include <QString>

// What the client keeps between the steps of one import.
struct ImportHandle {
    QString importId;
    QString s3Key;
};
