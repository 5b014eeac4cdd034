#include "app/ui/Form_Password.h"

#include <QEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

namespace velmora {

// A small looping picture of pages flying from one folder to another, shown while the sign-in
// copies the customer's prices.
class Animazione_Copia final : public QWidget {
public:
    explicit Animazione_Copia(QWidget* parent) : QWidget(parent) {
        setFixedHeight(40);
        m_timer.setInterval(60);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            m_passo = (m_passo + 1) % 20;
            update();
        });
    }
    void avvia() { m_timer.start(); }
    void passo() {
        m_passo = (m_passo + 1) % 20;
        update();
    }
    bool attiva() const { return m_timer.isActive(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const auto cartella = [&p](QRectF r) {
            p.setBrush(QColor(240, 200, 80));
            p.setPen(QColor(150, 110, 20));
            p.drawRect(r);
        };
        cartella(QRectF(8, 12, 34, 24));
        cartella(QRectF(width() - 42, 12, 34, 24));
        const double t = m_passo / 19.0;
        const double x = 30 + t * (width() - 80);
        const double y = 16 - 14 * (1 - (2 * t - 1) * (2 * t - 1));
        p.setBrush(Qt::white);
        p.setPen(Qt::darkGray);
        p.drawRect(QRectF(x, y, 14, 18));
    }

private:
    QTimer m_timer;
    int m_passo = 0;
};

namespace {

QPixmap bandiera(int lingua) {
    QPixmap pix(20, 14);
    QPainter p(&pix);
    switch (lingua) {
        case 0:    // Italiano
        case 1: {  // Française
            const QColor colori[2][3] = {{QColor(0, 146, 70), Qt::white, QColor(206, 43, 55)},
                                         {QColor(0, 85, 164), Qt::white, QColor(239, 65, 53)}};
            for (int i = 0; i < 3; ++i) {
                p.fillRect(QRectF(i * 20.0 / 3, 0, 20.0 / 3 + 1, 14), colori[lingua][i]);
            }
            break;
        }
        case 2: {  // English
            p.fillRect(pix.rect(), QColor(1, 33, 105));
            p.setPen(QPen(Qt::white, 4));
            p.drawLine(0, 0, 20, 14);
            p.drawLine(0, 14, 20, 0);
            p.setPen(QPen(QColor(200, 16, 46), 1.5));
            p.drawLine(0, 0, 20, 14);
            p.drawLine(0, 14, 20, 0);
            p.fillRect(QRect(8, 0, 4, 14), Qt::white);
            p.fillRect(QRect(0, 5, 20, 4), Qt::white);
            p.fillRect(QRect(9, 0, 2, 14), QColor(200, 16, 46));
            p.fillRect(QRect(0, 6, 20, 2), QColor(200, 16, 46));
            break;
        }
        default: {  // German
            const QColor colori[3] = {Qt::black, QColor(221, 0, 0), QColor(255, 206, 0)};
            for (int i = 0; i < 3; ++i) {
                p.fillRect(QRectF(0, i * 14.0 / 3, 20, 14.0 / 3 + 1), colori[i]);
            }
            break;
        }
    }
    return pix;
}

QPixmap immagineChiave() {
    QPixmap pix(32, 32);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 90, 10), 2));
    p.setBrush(QColor(230, 190, 60));
    p.drawEllipse(QRectF(3, 3, 13, 13));
    p.drawLine(QPointF(14, 14), QPointF(28, 28));
    p.drawLine(QPointF(22, 22), QPointF(25, 19));
    p.drawLine(QPointF(25, 25), QPointF(28, 22));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(7, 7, 4, 4));
    return pix;
}

// Turns every letter into a capital as it is typed.
class Maiuscole final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

}  // namespace

Form_Password::Form_Password(QString markerAmministratore, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_marker(std::move(markerAmministratore)) {
    setObjectName(QStringLiteral("TF_Form_Password"));
    setWindowTitle(QStringLiteral("Password"));
    setModal(true);
    setFixedSize(287, 150);

    m_chiave = new QLabel(this);
    m_chiave->setObjectName(QStringLiteral("Chiave"));
    m_chiave->setPixmap(immagineChiave());
    m_chiave->setGeometry(8, 8, 32, 32);
    m_chiave->installEventFilter(this);

    auto* etichetta = new QLabel(QStringLiteral("Enter Password"), this);
    etichetta->setGeometry(50, 6, 120, 16);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("Edit_Password"));
    m_password->setGeometry(50, 22, 140, 22);
    m_password->setEchoMode(QLineEdit::Normal);
    m_password->setValidator(new Maiuscole(m_password));

    auto* etichettaLingua = new QLabel(QStringLiteral("Language"), this);
    etichettaLingua->setGeometry(50, 48, 120, 16);
    m_lingua = new QComboBox(this);
    m_lingua->setObjectName(QStringLiteral("Lingua"));
    m_lingua->setEditable(false);
    m_lingua->setGeometry(50, 64, 140, 22);
    const QString nomi[4] = {QStringLiteral("Italiano"), QStringLiteral("Française"),
                             QStringLiteral("English"), QStringLiteral("German")};
    for (int i = 0; i < 4; ++i) {
        m_lingua->addItem(QIcon(bandiera(i)), nomi[i]);
    }
    m_lingua->setCurrentIndex(0);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(200, 22, 78, 24);
    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);
    m_annulla = new QPushButton(QStringLiteral("Cancel"), this);
    m_annulla->setGeometry(200, 52, 78, 24);
    connect(m_ok, &QPushButton::clicked, this, &Form_Password::premiOk);
    connect(m_annulla, &QPushButton::clicked, this, &Form_Password::premiAnnulla);

    m_animazione = new Animazione_Copia(this);
    m_animazione->setGeometry(8, 90, 271, 40);
    m_animazione->hide();

    m_barra = new QProgressBar(this);
    m_barra->setObjectName(QStringLiteral("ProgressBar_Listino"));
    m_barra->setRange(0, 100);
    m_barra->setValue(0);
    m_barra->setTextVisible(false);
    m_barra->setGeometry(0, 136, 287, 14);
}

bool Form_Password::animazioneAttiva() const {
    return m_animazione->isVisible() && m_animazione->attiva();
}

void Form_Password::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_password->setFocus();
}

bool Form_Password::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_chiave && event->type() == QEvent::MouseButtonDblClick) {
        if (QFileInfo::exists(m_marker)) {
            m_password->setText(QString::fromLatin1(kPasswordAmministratore));
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Form_Password::premiOk() {
    if (m_accessoAvviato) {
        return;
    }
    m_accessoAvviato = true;
    m_ok->hide();
    m_annulla->hide();
    m_animazione->show();
    m_animazione->avvia();
    emit accedi(m_password->text(), m_lingua->currentIndex());
}

void Form_Password::premiAnnulla() {
    if (m_accessoAvviato) {
        return;
    }
    m_accessoAvviato = true;
    emit accedi(QString(), 0);
}

void Form_Password::reject() {
    // Closing the dialog before OK is pressed is a Cancel: the program ends and nothing in the
    // database changes. After a sign-in that stopped on an error, closing lets start-up go on.
    if (!m_accessoAvviato) {
        premiAnnulla();
        if (isVisible()) {
            QDialog::reject();
        }
        return;
    }
    QDialog::reject();
}

void Form_Password::Password_Errata() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Velmora"), QStringLiteral("Invalid Password!"),
                    QMessageBox::Ok, this);
    box.exec();
    Accesso_Terminato();
}

void Form_Password::Avanza_Animazione() {
    m_animazione->passo();
}

void Form_Password::Accesso_Terminato() {
    if (isVisible()) {
        accept();
    }
}

}  // namespace velmora
