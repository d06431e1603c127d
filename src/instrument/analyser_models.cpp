// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/analyser_models.h"

int FindModelCode(const QString& name)
{
    for (int code = 0; code < static_cast<int>(kAnalyserModels.size()); ++code) {
        if (name == QLatin1String(kAnalyserModels[code].name))
            return code;
    }
    return kNoModel;
}
