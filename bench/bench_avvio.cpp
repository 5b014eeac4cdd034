// Time from the start of the program to the main window ready for work, on an installation
// folder (for example one made by velmora-make-demo --articles 100000).
//
//   bench_avvio --home DIR [--password P] [--runs N]
//
// With --password the password dialog, if it opens, is answered with it (a fresh sign-in is
// then measured, price list included).
#include <cstdio>

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>

#include "app/ui/MainWindow.h"
#include "platform/Boxes.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto option = [&args](const char* name, const QString& fallback) {
        const qsizetype at = args.indexOf(QString::fromLatin1(name));
        return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
    };
    const QString home = option("--home", QString());
    if (home.isEmpty()) {
        std::fputs("usage: bench_avvio --home DIR [--password P] [--runs N]\n", stderr);
        return 2;
    }
    const QString password = option("--password", QString());
    const int runs = option("--runs", QStringLiteral("3")).toInt();
    for (int run = 0; run < runs; ++run) {
        velmora::ScriptedBoxes boxes;
        velmora::ScriptedShell shell;
        velmora::SystemClock clock;
        QElapsedTimer timer;
        timer.start();
        velmora::Sessione sessione(velmora::InstallFolder(home), boxes, shell, clock);
        velmora::MainWindow window(sessione);
        QObject::connect(&window, &velmora::MainWindow::passwordRichiesta, &window,
                         [&password](velmora::Form_Password* dialogo) {
                             dialogo->password()->setText(password);
                             dialogo->ok()->click();
                         });
        if (!window.FormCreate()) {
            std::fputs("another copy is running\n", stderr);
            return 1;
        }
        QSignalSpy ready(&window, &velmora::MainWindow::avvioCompletato);
        window.show();
        if (!ready.wait(600000)) {
            std::fputs("start-up did not finish\n", stderr);
            return 1;
        }
        std::printf("run %d: ready for work after %lld ms%s\n", run + 1,
                    static_cast<long long>(timer.elapsed()),
                    boxes.shown().isEmpty()
                        ? ""
                        : qPrintable(QStringLiteral(" (boxes: ") + boxes.shown().join(QStringLiteral(" | ")) +
                                     QLatin1Char(')')));
        window.close();
        sessione.connessione().close(true);
    }
    return 0;
}
