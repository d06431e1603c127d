// SPDX-License-Identifier: GPL-3.0-or-later
// What a failed mail costs the visit that sends it, with the product's own
// time limits: connection refused, unknown host, wrong password, a server
// that accepts and never greets, a missing sendmail; and a good sending for
// comparison. Real servers (aiosmtpd) on loopback; each iteration is one
// alarm mail.
#include "notify/mail_service.h"
#include "platform/event_pump.h"
#include "platform/settings.h"
#include "support/recording_dialogs.h"
#include "support/smtp_server.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {
struct Fixture {
    QTemporaryDir dir;
    Settings settings{dir.path()};
    QtEventPump pump;
    RecordingDialogs dialogs;
    MailService mail{pump, settings, dialogs};
    Fixture()
    {
        mail.settings.firstRecipient = QStringLiteral("ops@example.org");
        mail.settings.fromAddress = QStringLiteral("station@example.org");
        mail.settings.username = QStringLiteral("station");
        mail.settings.password = QStringLiteral("wrong");
    }
};

void RunCase(benchmark::State& state, const std::function<void(MailSettings&)>& configure, bool expectSent)
{
    Fixture f;
    configure(f.mail.settings);
    for (auto _ : state) {
        const bool sent = f.mail.delivery.SendAlarmMail(QStringLiteral("Alarm"), {QStringLiteral("Level: 38.5")});
        if (sent != expectSent)
            state.SkipWithError(sent ? "sent where a failure was expected" : "not sent");
    }
}

void BM_GoodServer(benchmark::State& state)
{
    SmtpServer server;
    RunCase(state, [&](MailSettings& m) { m.host = server.Host(); m.authType = MailSettings::kAuthNone; }, true);
}
void BM_ConnectionRefused(benchmark::State& state)
{
    int port = 0;
    {
        SmtpServer probe({QString(), false, true});
        port = probe.Port();
    }
    RunCase(state, [&](MailSettings& m) { m.host = QStringLiteral("127.0.0.1:%1").arg(port); }, false);
}
void BM_UnknownHost(benchmark::State& state)
{
    RunCase(state, [](MailSettings& m) { m.host = QStringLiteral("no-such-host.invalid"); }, false);
}
void BM_WrongPassword(benchmark::State& state)
{
    SmtpServer server({QStringLiteral("station:right")});
    RunCase(state, [&](MailSettings& m) { m.host = server.Host(); }, false);
}
void BM_NeverGreets(benchmark::State& state)
{
    SmtpServer server({QString(), false, true});
    RunCase(state, [&](MailSettings& m) { m.host = server.Host(); }, false);
}
void BM_MissingSendmail(benchmark::State& state)
{
    qputenv("VIGILO_SENDMAIL", "/nonexistent/sendmail");
    RunCase(state, [](MailSettings& m) { m.smtpRoute = false; m.clientRoute = true; }, false);
    qunsetenv("VIGILO_SENDMAIL");
}

BENCHMARK(BM_GoodServer)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ConnectionRefused)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_UnknownHost)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WrongPassword)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_NeverGreets)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MissingSendmail)->Unit(benchmark::kMillisecond)->Iterations(5);
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
