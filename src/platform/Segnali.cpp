#include "platform/Segnali.h"

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>

#include <QSocketNotifier>

namespace velmora {

namespace {
int g_pipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_pipe[1], &byte, 1);
}
}  // namespace

void gestisciSegnaliTermine(std::function<void()> termina) {
    if (g_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [notifier, termina = std::move(termina)] {
                         char byte = 0;
                         [[maybe_unused]] const auto got = ::read(g_pipe[0], &byte, 1);
                         notifier->setEnabled(false);
                         termina();
                     });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(sig, &action, nullptr);
    }
}

}  // namespace velmora
