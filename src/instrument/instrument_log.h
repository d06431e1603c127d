// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Off by default; QT_LOGGING_RULES="vigilo.instrument.debug=true" shows the
// port and protocol traffic for an engineer chasing a fault in the field.
Q_DECLARE_LOGGING_CATEGORY(lcInstrument)
