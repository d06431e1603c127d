// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// The mail subsystem's traffic (sendings, their results, the server's
// dialogue), off by default: QT_LOGGING_RULES="vigilo.notify.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcNotify)
