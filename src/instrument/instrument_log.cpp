// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/instrument_log.h"

Q_LOGGING_CATEGORY(lcInstrument, "vigilo.instrument", QtWarningMsg)
