#include "app/ui/Splash.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace velmora {

Splash::Splash(const QString& versione, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_testo(QStringLiteral("Velmora v. ") + versione) {
    setObjectName(QStringLiteral("Splash"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(807, 455);
    QTimer::singleShot(5000, this, &QWidget::close);
}

void Splash::mostra() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    show();
    repaint();
    QApplication::processEvents();
}

void Splash::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The picture: a deep blue field with a lighter band, drawn rather than shipped.
    QLinearGradient field(0, 0, width(), height());
    field.setColorAt(0.0, QColor(12, 34, 74));
    field.setColorAt(1.0, QColor(34, 82, 140));
    painter.fillRect(rect(), field);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 28));
    painter.drawEllipse(QPoint(width() - 160, height() - 40), 360, 240);
    QFont big(QStringLiteral("Liberation Sans"));
    big.setPixelSize(96);
    big.setBold(true);
    painter.setFont(big);
    painter.setPen(QColor(255, 255, 255, 60));
    painter.drawText(rect().adjusted(0, 0, -40, -40), Qt::AlignRight | Qt::AlignBottom,
                     QStringLiteral("VELMORA"));

    QFont label(QStringLiteral("Tahoma"));
    label.setPixelSize(24);
    label.setBold(true);
    painter.setFont(label);
    painter.setPen(QColor(251, 237, 159));
    painter.drawText(QRect(0, 0, width(), 40), Qt::AlignLeft | Qt::AlignTop, m_testo);
}

}  // namespace velmora
