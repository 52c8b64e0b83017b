// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/CommonDialog.h"

#include "core/RuntimeError.h"

#include <QFileDialog>
#include <QFileInfo>

namespace platform {

namespace {
CommonDialog::OpenHook& openHook() {
    static CommonDialog::OpenHook h;
    return h;
}

// "*.bmp;*.gif" → "*.bmp;*.gif (*.bmp *.gif)": the dialog shows the stored text and matches its patterns.
QString entryFor(const QString& pattern) {
    QString patterns = pattern;
    patterns.replace(u';', u' ');
    return QStringLiteral("%1 (%2)").arg(pattern, patterns);
}
}  // namespace

void CommonDialog::setOpenHook(OpenHook h) { openHook() = std::move(h); }

QStringList CommonDialog::nameFilters() const {
    return {entryFor(Filter), entryFor(QStringLiteral("*.jpg;*.png")), QStringLiteral("すべてのファイル (*)")};
}

void CommonDialog::ShowOpen(QWidget* owner) {
    std::optional<QString> chosen;
    if (openHook()) {
        chosen = openHook()(FileName, nameFilters());
    } else {
        QFileDialog dialog(owner);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters(nameFilters());
        if (!FileName.isEmpty()) {
            const QFileInfo last(FileName);
            dialog.setDirectory(last.absolutePath());
            dialog.selectFile(last.fileName());
        }
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().constFirst();
    }
    if (!chosen)
        throw core::RuntimeError(core::err::kDialogCancel, QStringLiteral("キャンセルが選択されました。"));
    FileName = *chosen;
}

}  // namespace platform
