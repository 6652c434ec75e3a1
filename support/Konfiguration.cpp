// SPDX-License-Identifier: GPL-3.0-or-later
#include "Konfiguration.h"

namespace konfiguration {

QString herstellerHomepage() {
    return QStringLiteral("https://www.torvane.example/");
}

QString produktHomepage() {
    return QStringLiteral("https://www.torvane.example/skalora/");
}

QString downloadBasis() {
    return QStringLiteral("https://www.torvane.example/download/");
}

QString mailAdresse() {
    return QStringLiteral("\"Torvane Skalora\" <skalora@torvane.example>");
}

QString autorzeile() {
    return QStringLiteral("© 2026 Torvane Software");
}

} // namespace konfiguration
