// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include "generator/Batch.h"

class QWidget;

namespace cluemill {

class QtPlatform;

// Asks the order of the next runs in a dialog shown through
// QtPlatform::Exec: a quota per class (0 = none), distinct puzzles only, a
// time limit in whole minutes (0 = none). Its widgets are named Quota(0) to
// Quota(5), Distinct and Minutes, so that a test can fill them in. The order
// chosen, or nothing when the dialog was cancelled.
std::optional<BatchSettings> AskBatch(const BatchSettings& current, QtPlatform& platform,
                                      QWidget* parent);

}  // namespace cluemill
