// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The error numbers the handlers' traps tell failures by are the run-time's classic numbers;
// the other tests name them, so this table is where a wrong number shows.

#include "core/RuntimeError.h"

#include <QtTest>

class TestErrorNumbers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void classicNumbers() {
        namespace err = core::err;
        const std::pair<int, int> table[] = {
            {err::kInvalidProcedureCall, 5},   {err::kOverflow, 6},           {err::kOutOfMemory, 7},
            {err::kTypeMismatch, 13},          {err::kDllNotFound, 48},       {err::kFileNotFound, 53},
            {err::kInputPastEnd, 62},          {err::kPathFileAccess, 75},    {err::kNoSuchArrayElement, 340},
            {err::kInvalidPropertyValue, 380}, {err::kDllEntryNotFound, 453}, {err::kInvalidPicture, 481},
            {err::kDialogCancel, 32755}};
        for (const auto& [named, classic] : table)
            QCOMPARE(named, classic);
    }
};

QTEST_APPLESS_MAIN(TestErrorNumbers)
#include "tst_error_numbers.moc"
