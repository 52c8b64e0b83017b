// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once

namespace platform {

// The toolkit's own texts (the file dialog, the buttons of the message boxes) in the user's
// language, where the toolkit's translations are installed. The program's own texts are
// Japanese whatever the language. Once, after the application object exists.
void installToolkitTranslations();

}  // namespace platform
