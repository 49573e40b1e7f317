// SPDX-License-Identifier: MIT
#include "qt/BatchDialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <array>
#include <cmath>

#include "qt/QtPlatform.h"
#include "sheets/SheetJob.h"

namespace cluemill {

namespace {

// A spin box whose 0 reads as `none`.
QSpinBox* Count(QWidget* parent, const QString& name, int value, const QString& none) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(0, 1'000'000);
    box->setSpecialValueText(none);
    box->setValue(value);
    return box;
}

}  // namespace

std::optional<BatchSettings> AskBatch(const BatchSettings& current, QtPlatform& platform,
                                      QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("BatchDialog"));
    dialog.setWindowTitle(QStringLiteral("Batch"));
    auto* form = new QFormLayout(&dialog);
    std::array<QSpinBox*, 6> quotas{};
    for (std::size_t i = 0; i < quotas.size(); ++i) {
        const auto quota = static_cast<int>(current.Quota[i].value_or(0));
        quotas[i] =
            Count(&dialog, QStringLiteral("Quota(%1)").arg(i), quota, QStringLiteral("any"));
        form->addRow(QStringLiteral("%1:").arg(QLatin1String(kClassNames[i])), quotas[i]);
    }
    auto* distinct = new QCheckBox(QStringLiteral("&Distinct puzzles only"), &dialog);
    distinct->setObjectName(QStringLiteral("Distinct"));
    distinct->setToolTip(
        QStringLiteral("Never write a puzzle equivalent to one written before for the same "
                       "pattern in the data folder."));
    distinct->setChecked(current.Distinct);
    form->addRow(QString(), distinct);
    const auto minutes = static_cast<int>(std::lround(current.Seconds.value_or(0) / 60));
    auto* limit = Count(&dialog, QStringLiteral("Minutes"), minutes, QStringLiteral("none"));
    limit->setSuffix(QStringLiteral(" min"));
    form->addRow(QStringLiteral("&Time limit:"), limit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (platform.Exec(dialog) != QDialog::Accepted) return std::nullopt;

    BatchSettings chosen;
    for (std::size_t i = 0; i < quotas.size(); ++i) {
        if (quotas[i]->value() > 0) chosen.Quota[i] = quotas[i]->value();
    }
    chosen.Distinct = distinct->isChecked();
    if (limit->value() > 0) chosen.Seconds = limit->value() * 60.0;
    return chosen;
}

}  // namespace cluemill
