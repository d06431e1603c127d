// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/mail_log.h"

Q_LOGGING_CATEGORY(lcNotify, "vigilo.notify", QtWarningMsg)
