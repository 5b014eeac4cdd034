// velmora-cli: the program's operations without windows, for support staff and scripts.
#include <cstdio>

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

#include "app/Sessione.h"
#include "cli/Comandi.h"

namespace {

void usage(FILE* out) {
    std::fputs(
        "Usage: velmora-cli [--home DIR] COMMAND [OPTIONS]\n"
        "\n"
        "  --version            print the program version\n"
        "  --help               print this help\n"
        "  --home DIR           the installation folder (default: $VELMORA_HOME, else ~/VELMORA)\n"
        "\n"
        "Commands:\n"
        "  info                 installation folder, marker files, database and its SQL dialect\n"
        "  sign-in --password P [--language N]\n"
        "                       sign a customer in with a password (as the password dialog does:\n"
        "                       capital letters); N: 0 Italiano, 1 Francaise, 2 English, 3 German\n"
        "  customer             the customer of the last sign-in, as the next start takes it up\n"
        "  listino [--csv]      the built price list, one row per article with every column\n"
        "                       (tab-separated, or ';'-separated with --csv)\n"
        "  catalogue [--order N] [--search TEXT] [--barcode TEXT] [--favourites]\n"
        "            [--big-group G] [--group G --subgroup S] [--price-from X --price-to Y]\n"
        "                       the rows the catalogue grid shows, in its order: CODICE, then\n"
        "                       the grid's columns as displayed (images as 0, 1 or 2)\n",
        out);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QStringList args = app.arguments().mid(1);

    QString home;
    QString command;
    QStringList rest;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!command.isEmpty()) {
            rest << arg;
        } else if (arg == QLatin1String("--version")) {
            std::printf("%s\n", qPrintable(velmora::Sessione::Versione_Programma()));
            return 0;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            usage(stdout);
            return 0;
        } else if (arg == QLatin1String("--home")) {
            if (i + 1 >= args.size()) {
                std::fputs("--home needs a folder\n", stderr);
                return 2;
            }
            home = args[++i];
        } else if (arg.startsWith(QLatin1String("--"))) {
            std::fprintf(stderr, "Unknown option %s\n", qPrintable(arg));
            usage(stderr);
            return 2;
        } else {
            command = arg;
        }
    }
    if (command.isEmpty()) {
        usage(stderr);
        return 2;
    }
    const velmora::InstallFolder folder =
        home.isEmpty() ? velmora::InstallFolder::fromEnvironment() : velmora::InstallFolder(home);
    return velmora::cli::esegui(folder, command, rest);
}
