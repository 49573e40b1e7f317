// SPDX-License-Identifier: MIT
#include "qt/WindowSettings.h"

#include <QSettings>
#include <string>

namespace cluemill {

namespace {

bool Flag(const QSettings& settings, const char* key) {
    return settings.value(QLatin1String(key), false).toBool();
}

// The quota of class i + 1.
std::string QuotaKey(std::size_t i) {
    return "batch/quota" + std::to_string(i + 1);
}

int Number(const QSettings& settings, const char* key, int otherwise) {
    bool ok = false;
    const int number = settings.value(QLatin1String(key)).toInt(&ok);
    return ok ? number : otherwise;
}

}  // namespace

WindowSettings WindowSettings::Load(const QSettings& settings) {
    WindowSettings loaded;
    cluemill::Choices& choices = loaded.Choices;
    choices.OutputFormat = Number(settings, "generator/outputFormat", 0);
    choices.RenewAfter = Number(settings, "generator/renewAfter", 0);
    choices.DrawSymmetry = Number(settings, "editor/symmetry", 0);
    choices.Expansion = Number(settings, "generator/expansion", 0);
    choices.Minimal = Flag(settings, "generator/minimal");
    choices.Limit = Flag(settings, "generator/limit");
    choices.RandomPatterns = Flag(settings, "generator/randomPatterns");
    choices.TestMinimal = Flag(settings, "tester/minimal");
    if (settings.contains(QStringLiteral("window/position"))) {
        loaded.Position = settings.value(QStringLiteral("window/position")).toPoint();
    }
    loaded.OpenFolder = settings.value(QStringLiteral("import/folder")).toString();

    SheetOptions& options = loaded.Sheet.Options;
    const int perPage = Number(settings, "sheet/perPage", options.PerPage);
    if (perPage == 1 || perPage == 2 || perPage == 4 || perPage == 6) options.PerPage = perPage;
    options.Solutions = Flag(settings, "sheet/solutions");
    options.Title = settings.value(QStringLiteral("sheet/title")).toString().toStdString();
    options.Page =
        settings.value(QStringLiteral("sheet/paper")).toString() == QLatin1String("letter")
            ? SheetOptions::Paper::Letter
            : SheetOptions::Paper::A4;
    loaded.Sheet.Grade = Flag(settings, "sheet/grade");
    loaded.Sheet.Folder = settings.value(QStringLiteral("sheet/folder")).toString();

    // A quota or time limit of 0 (or none kept) is no limit.
    BatchSettings& batch = loaded.Batch;
    for (std::size_t i = 0; i < batch.Quota.size(); ++i) {
        const int quota = Number(settings, QuotaKey(i).c_str(), 0);
        if (quota > 0) batch.Quota[i] = quota;
    }
    batch.Distinct = Flag(settings, "batch/distinct");
    const int minutes = Number(settings, "batch/minutes", 0);
    if (minutes > 0) batch.Seconds = minutes * 60.0;
    return loaded;
}

void WindowSettings::Save(QSettings& settings) const {
    settings.setValue(QStringLiteral("generator/outputFormat"), Choices.OutputFormat);
    settings.setValue(QStringLiteral("generator/renewAfter"), Choices.RenewAfter);
    settings.setValue(QStringLiteral("editor/symmetry"), Choices.DrawSymmetry);
    settings.setValue(QStringLiteral("generator/expansion"), Choices.Expansion);
    settings.setValue(QStringLiteral("generator/minimal"), Choices.Minimal);
    settings.setValue(QStringLiteral("generator/limit"), Choices.Limit);
    settings.setValue(QStringLiteral("generator/randomPatterns"), Choices.RandomPatterns);
    settings.setValue(QStringLiteral("tester/minimal"), Choices.TestMinimal);
    if (Position) settings.setValue(QStringLiteral("window/position"), *Position);
    settings.setValue(QStringLiteral("import/folder"), OpenFolder);
    const SheetOptions& options = Sheet.Options;
    settings.setValue(QStringLiteral("sheet/perPage"), options.PerPage);
    settings.setValue(QStringLiteral("sheet/solutions"), options.Solutions);
    settings.setValue(QStringLiteral("sheet/title"), QString::fromStdString(options.Title));
    settings.setValue(QStringLiteral("sheet/paper"), options.Page == SheetOptions::Paper::Letter
                                                         ? QStringLiteral("letter")
                                                         : QStringLiteral("a4"));
    settings.setValue(QStringLiteral("sheet/grade"), Sheet.Grade);
    settings.setValue(QStringLiteral("sheet/folder"), Sheet.Folder);
    for (std::size_t i = 0; i < Batch.Quota.size(); ++i) {
        settings.setValue(QString::fromStdString(QuotaKey(i)),
                          static_cast<qlonglong>(Batch.Quota[i].value_or(0)));
    }
    settings.setValue(QStringLiteral("batch/distinct"), Batch.Distinct);
    settings.setValue(QStringLiteral("batch/minutes"),
                      static_cast<int>(Batch.Seconds.value_or(0) / 60 + 0.5));
    settings.sync();
}

}  // namespace cluemill
