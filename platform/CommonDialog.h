// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The common open-file dialog. It keeps the file name it returned last and offers
// it as the initial name at its next use; a cancel is reported as the run time's
// error 32755, as the callers' error traps expect.

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace platform {

class CommonDialog {
public:
    // The stored pattern text, which selects what the dialog lists.
    QString Filter;
    // The full path returned last (empty before the first use).
    QString FileName;

    // Shows the modal open-file dialog; on OK sets FileName, on cancel throws
    // core::RuntimeError(32755) and leaves FileName as it was.
    void ShowOpen(QWidget* owner);

    // The filter entries the dialog offers: the stored pattern first, then every
    // other picture the program reads, then all files.
    QStringList nameFilters() const;

    // Tests answer the dialog instead of a user: the hook receives the initial file name
    // and the filter entries and returns the chosen path, or nothing for cancel.
    using OpenHook =
        std::function<std::optional<QString>(const QString& initialFileName, const QStringList& nameFilters)>;
    static void setOpenHook(OpenHook hook);
};

}  // namespace platform
