// Program entry: splash, fixed locale, main window, event loop.
#include <QApplication>
#include <QLocale>

#include "app/Sessione.h"
#include "app/ui/MainWindow.h"
#include "app/ui/QtBoxes.h"
#include "app/ui/Splash.h"
#include "platform/Segnali.h"
#include "platform/Shell.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));

    velmora::Splash splash(velmora::Sessione::Versione_Programma());
    splash.mostra();

    // Dates and numbers read or shown without an explicit format follow the Italian way:
    // "dd/mm/yyyy" and the decimal comma, whatever the machine's settings.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));

    velmora::QtBoxes boxes;
    velmora::SystemShell shell;
    velmora::SystemClock clock;
    velmora::Sessione sessione(velmora::InstallFolder::fromEnvironment(), boxes, shell, clock);
    velmora::MainWindow window(sessione);
    boxes.setParent(&window);
    window.setSplash(&splash);
    QObject::connect(&window, &velmora::MainWindow::terminato, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (!window.FormCreate()) {
        return 0;
    }
    // Asked to end by the system: close in order, committing the run's work.
    velmora::gestisciSegnaliTermine([&window] {
        for (QWidget* modal = QApplication::activeModalWidget(); modal;
             modal = QApplication::activeModalWidget()) {
            modal->close();
            if (QApplication::activeModalWidget() == modal) {
                break;
            }
        }
        window.close();
        QCoreApplication::quit();
    });
    window.show();
    const int result = app.exec();
    splash.close();
    return result;
}
