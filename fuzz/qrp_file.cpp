// SPDX-License-Identifier: GPL-3.0-or-later
// Saved reports (.qrp) as found on disk: any bytes are refused with a message
// or open; every page of an opened file reads or raises VigiloError, lays
// out, and an opened file whose pages all read saves again to a file that
// opens with the same pages.
#include "fuzz_support.h"
#include "platform/errors.h"
#include "platform/texts.h"
#include "reports/qrp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::WriteScratchFile(QStringLiteral("in.qrp"), data, size);
    QString error;
    std::unique_ptr<PreparedReport> report = OpenQrp(path, Language::English, error);
    if (!report) {
        if (error.isEmpty())
            __builtin_trap();  // a refusal always says why
        return 0;
    }
    // Pages are checked as they are read; a long forged report need not be
    // read whole to find what the first pages show.
    const long long pages = std::min(report->PageCount(), 64LL);
    bool allRead = true;
    std::vector<PageRows> read;
    for (long long page = 0; page < pages; ++page) {
        try {
            read.push_back(report->ReadPage(page));
            LayOutPage(*report, page, read.back());
        } catch (const VigiloError&) {
            allRead = false;
        }
    }
    if (!allRead || pages != report->PageCount())
        return 0;
    const QString again = fuzz::ScratchFolder().filePath(QStringLiteral("again.qrp"));
    if (SaveQrp(*report, again, Language::English) != OutputResult::Done)
        __builtin_trap();
    std::unique_ptr<PreparedReport> reloaded = OpenQrp(again, Language::English, error);
    if (!reloaded || reloaded->PageCount() != report->PageCount())
        __builtin_trap();
    for (long long page = 0; page < pages; ++page)
        if (!(reloaded->ReadPage(page) == read[static_cast<size_t>(page)]))
            __builtin_trap();
    return 0;
}
