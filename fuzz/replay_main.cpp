// SPDX-License-Identifier: GPL-3.0-or-later
// Without libFuzzer (the ordinary build), a fuzz target replays its corpus:
// every file of the folders (or the files) named on the command line, once,
// in name order. A crash or a sanitizer finding fails the test that runs it.
#include "fuzz_support.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QFile>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv)
{
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(arg).isDir()) {
            QDirIterator it(arg, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext())
                files.append(it.next());
        } else {
            files.append(arg);
        }
    }
    files.sort();
    if (files.isEmpty()) {
        std::fprintf(stderr, "%s: no corpus files given\n", argv[0]);
        return 2;
    }
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 2;
        }
        const QByteArray bytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
    }
    std::printf("replayed %lld inputs\n", static_cast<long long>(files.size()));
    return 0;
}
