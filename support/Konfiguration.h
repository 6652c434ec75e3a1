// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The addresses the program knows of itself, fixed at build time and kept in this one place.

#include <QString>

namespace konfiguration {
// The maker's homepage, shown and opened by the about box unless a caller names another.
QString herstellerHomepage();
// The product's page, which the "Info" command hands to the about box.
QString produktHomepage();
// Folder on the update server holding the version file and the archive; ends with "/".
QString downloadBasis();
// The author's mail address: display name in double quotes, then the address in angle brackets.
QString mailAdresse();
// The author line of the about box.
QString autorzeile();
} // namespace konfiguration
