// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The one error type of the program: a number and a description, as the
// error traps of the handlers expect them.

#include <QString>
#include <exception>
#include <string>

namespace core {

// Numbers the program relies on.
namespace err {
inline constexpr int kInvalidProcedureCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kFileNotFound = 53;
inline constexpr int kInputPastEnd = 62;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kNoSuchArrayElement = 340;
inline constexpr int kInvalidPropertyValue = 380;
inline constexpr int kInvalidPicture = 481;
inline constexpr int kDllNotFound = 48;
inline constexpr int kDllEntryNotFound = 453;
inline constexpr int kDialogCancel = 32755;
}  // namespace err

class RuntimeError : public std::exception {
public:
    RuntimeError(int number, QString description)
        : number_(number), description_(std::move(description)), what_(description_.toStdString()) {}

    int number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString description_;
    std::string what_;
};

}  // namespace core
