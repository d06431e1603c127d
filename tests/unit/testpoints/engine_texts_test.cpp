// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/errors.h"
#include "platform/settings.h"
#include "support/temp_folder.h"
#include "testpoints/dataset.h"
#include "testpoints/engine_texts.h"
#include "testpoints/sql_statement.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

QString ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const VigiloError& error) {
        return error.Text();
    }
    return QStringLiteral("(no error)");
}

TEST(EngineTexts, ErrorsFollowTheLanguageLineOfTheSettings)
{
    TempProgramFolder folder;
    Settings settings(folder.Path());
    FollowLanguageOf(&settings);
    const std::unique_ptr<Settings, void (*)(Settings*)> unfollow(&settings, [](Settings* s) {
        StopFollowingLanguageOf(s);
    });

    const QString path = folder.File(QStringLiteral("t.db"));
    Dataset open(QString(), path);
    open.CreateTable({{QStringLiteral("ch"), FieldKind::Text, 4, false}});
    open.Open();
    const QString missing = folder.File(QStringLiteral("none.db"));

    struct Case {
        const char* what;
        std::function<void()> action;
        QString english;
        QString spanish;
    };
    const std::vector<Case> cases{
        {"missing table", [&] { Dataset(QString(), missing).Open(); },
         QStringLiteral("Table does not exist: ") + missing, QStringLiteral("La tabla no existe: ") + missing},
        {"bad filter", [&] { open.SetFilter(QStringLiteral("ch 1")); },
         QStringLiteral("Bad filter 'ch 1': comparison expected at position 4"),
         QStringLiteral("Filtro incorrecto 'ch 1': se esperaba una comparación en la posición 4")},
        {"held file", [&] { DeleteTableFile(path); },
         QStringLiteral("The table %1 is open in the station and cannot be replaced.").arg(path),
         QStringLiteral("La tabla %1 está abierta en la estación y no se puede sustituir.").arg(path)},
        {"missing field", [&] { open.Text(QStringLiteral("freq")); }, QStringLiteral("Field 'freq' not found"),
         QStringLiteral("Campo 'freq' no encontrado")},
        {"closed table", [&] { Dataset(QString(), path).First(); },
         QStringLiteral("Cannot perform this operation on a closed table"),
         QStringLiteral("No se puede realizar esta operación con la tabla cerrada")},
        {"SQL error",
         [&] {
             SqlConnection db(path, SqlAccess::Read);
             SqlStatement(db, QStringLiteral("SELECT nosuch FROM records"));
         },
         QStringLiteral("Table error in %1: no such column: nosuch").arg(path),
         QStringLiteral("Error de tabla en %1: no such column: nosuch").arg(path)},
    };
    struct Line {
        const char* word;
        bool spanish;
    };
    // A line that names no language still gets an English text: an error
    // without one would show an empty message.
    for (const Line& line : {Line{"spanish", true}, Line{"english", false}, Line{"Spanish", false}}) {
        settings.Replace(Settings::kLanguageLine, QString::fromLatin1(line.word));
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(line.word) + ": " + c.what);
            EXPECT_EQ(ErrorOf(c.action), line.spanish ? c.spanish : c.english);
        }
    }

    settings.Replace(Settings::kLanguageLine, QStringLiteral("spanish"));
    StopFollowingLanguageOf(&settings);
    EXPECT_EQ(ErrorOf(cases.front().action), cases.front().english);
}

}  // namespace
