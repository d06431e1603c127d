#include "instrument/instrument_log.h"

Q_LOGGING_CATEGORY(lcInstrument, "vigilo.instrument", QtWarningMsg)
