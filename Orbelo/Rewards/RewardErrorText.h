#pragma once

#include <QString>

#include <exception>

// The description of a failed rewards call as it follows "Purchase failed: " and the like: the
// backend's own words when it answered, else the transport's.
namespace RewardErrorText {

QString describe(std::exception_ptr error);

} // namespace RewardErrorText
