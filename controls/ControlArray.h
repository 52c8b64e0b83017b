// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Controls that share a name, addressed by a 16-bit Index. Members need not start at 0.

#include "core/RuntimeError.h"

#include <cstdint>
#include <map>

namespace ctl {

template <class Control>
class ControlArray {
public:
    void add(std::int16_t index, Control* control) { members_[index] = control; }

    Control* operator()(std::int16_t index) const {
        const auto it = members_.find(index);
        if (it == members_.end())
            throw core::RuntimeError(core::err::kNoSuchArrayElement,
                                     QStringLiteral("コントロール配列の要素 %1 は存在しません。").arg(index));
        return it->second;
    }

    auto begin() const { return members_.begin(); }
    auto end() const { return members_.end(); }
    std::size_t size() const { return members_.size(); }

private:
    std::map<std::int16_t, Control*> members_;  // owned by their Qt parents
};

}  // namespace ctl
