// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace platform {

void installToolkitTranslations() {
    const QLocale locale;  // the user's, from the environment
    // The toolkit speaks English already: for C and English no catalogue is looked for.
    const QStringList languages = locale.uiLanguages();
    const QLocale::Language first = languages.isEmpty() ? QLocale::C : QLocale(languages.first()).language();
    if (first == QLocale::C || first == QLocale::English)
        return;
    // Only the base catalogue: the dialogs and message boxes are all the toolkit shows here.
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator.release());  // the application owns it
}

}  // namespace platform
