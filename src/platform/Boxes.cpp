#include "platform/Boxes.h"

#include <cstdio>

namespace velmora {

namespace {
void printLine(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}
}  // namespace

void StreamBoxes::message(const QString& text) {
    printLine(text);
}

void StreamBoxes::error(const QString& text) {
    printLine(QStringLiteral("Error: ") + text);
}

bool StreamBoxes::confirm(const QString& text) {
    printLine(text + (m_confirmAnswer ? QStringLiteral(" [OK]") : QStringLiteral(" [Cancel]")));
    return m_confirmAnswer;
}

std::optional<QString> StreamBoxes::input(const QString& title, const QString& prompt, const QString&) {
    printLine(title + QStringLiteral(": ") + prompt + QStringLiteral(" [Cancel]"));
    return std::nullopt;
}

}  // namespace velmora
