// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QString>
#include <optional>

#include "app/Main.h"
#include "sheets/SheetJob.h"

class QSettings;

namespace cluemill {

// How the last sheet was made: its layout, whether its puzzles carried
// their classes, and the folder it was exported to.
struct SheetSettings {
    SheetOptions Options;
    bool Grade = false;
    QString Folder;
};

// What the window keeps from one run of the program to the next: the user's
// choices on the controls, where the window stood, the folder of the last
// file opened, the sheet's options and the batch's order. Anything missing or out of range in
// the settings reads as the start-up state.
struct WindowSettings {
    cluemill::Choices Choices;
    std::optional<QPoint> Position;
    QString OpenFolder;
    SheetSettings Sheet;
    BatchSettings Batch;

    // What the settings hold; what they lack reads as at start-up.
    static WindowSettings Load(const QSettings& settings);
    // Writes these into the settings, at once.
    void Save(QSettings& settings) const;
};

}  // namespace cluemill
